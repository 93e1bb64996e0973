#include "TextWriter.h"
