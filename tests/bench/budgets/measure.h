// Small measuring tools for the budgets program.
#pragma once
#include "support/process_memory.h"
#include <windows.h>
#include <string>

double NowMicroseconds();
// Share of one core the process used over the next ms milliseconds, in percent.
double CpuPercentOver(HANDLE process, DWORD ms);
std::string Kilobytes(SIZE_T bytes);
std::string Format(const char* format, double value);
// Starts an executable from the folder this program lives in.
HANDLE StartBeside(const char* exeName, const char* arguments);
void EndProcess(HANDLE process);
