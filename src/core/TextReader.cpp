#include "TextReader.h"
