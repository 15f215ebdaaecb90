#pragma once

// The system services in one include: registry and uninstall entry, shortcuts, folder picker,
// shell opening, system folders, directory creation and the screen DPI.
#include "KPCore/inner/DirectoryChain.h"
#include "KPCore/inner/FolderPicker.h"
#include "KPCore/inner/KPReg2.h"
#include "KPCore/inner/ProductInfo.h"
#include "KPCore/inner/ScreenDpi.h"
#include "KPCore/inner/ShellLink.h"
#include "KPCore/inner/ShellOpen.h"
#include "KPCore/inner/SystemFolders.h"
#include "KPCore/inner/UninstallRegistration.h"
#include "KPCore/inner/Wow64.h"
