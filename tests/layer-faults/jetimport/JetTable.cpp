#include "presetdb/WorkOnMDB.h"
