#include "SaveFile.h"
