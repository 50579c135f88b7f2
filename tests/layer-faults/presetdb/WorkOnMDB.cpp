#include <QWidget>
#include <sqlite3.h>
