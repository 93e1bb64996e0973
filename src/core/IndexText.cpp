#include "IndexText.h"
