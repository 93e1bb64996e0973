#include "EntryList.h"
