#include "DocumentFile.h"
