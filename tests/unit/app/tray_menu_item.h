// Reading the tray menu's blue light item as a user sees it.
#pragma once
#include <windows.h>
#include <string>

std::string BlueLightItemText();
bool BlueLightItemGrayed();
