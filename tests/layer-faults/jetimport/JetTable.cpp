#include <mdbtools.h>
