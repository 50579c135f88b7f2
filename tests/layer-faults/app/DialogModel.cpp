#include "app/view/DialogWindow.h"
