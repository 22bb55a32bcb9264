#include "installer/uninstall/UninstallServices.h"

UninstallServices& uninstallServices()
{
    static UninstallServices services = systemUninstallServices();
    return services;
}
