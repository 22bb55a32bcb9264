#include "installer/state/PluginApiTable.h"

PluginApiTable gPluginApiTable;
