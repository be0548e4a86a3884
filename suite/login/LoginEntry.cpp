// qkLogin.dll: the suite's login module, created through its class object.
#include <windows.h>

#include "login/LoginModule.h"

QK_UI_MODULE_LIBRARY(CLoginModule, CLSID_QKLoginModule)
