#pragma once
// The system's probes for the numeric variables ("<CPUSpeed>", "<CPUType>", "<DirectXVer>",
// "<.NETVersion>", ...); start-up installs them.
#include "installer/variables/SystemProbes.h"

SystemProbes systemInformationProbes();
