#include "LineBreaks.h"
