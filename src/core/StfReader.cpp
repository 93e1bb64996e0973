#include "StfReader.h"
