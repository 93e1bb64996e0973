#include "StfWriter.h"
