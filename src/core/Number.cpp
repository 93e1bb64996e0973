#include "Number.h"
