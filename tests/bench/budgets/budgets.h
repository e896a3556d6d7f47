// The measured budgets: each measurement adds rows to one table.
#pragma once
#include <string>
#include <vector>

struct BudgetRow {
    std::string measure;
    std::string morrowby;
    std::string floor; // the minimal program's figure, where there is one
    std::string budget;
    bool withinBudget;
};

// Measurements inside this process, on the program's own code.
void MeasureHookCosts(std::vector<BudgetRow>& rows);
void MeasureVideoTick(std::vector<BudgetRow>& rows);
void MeasureLockCycles(std::vector<BudgetRow>& rows);
// Measurements of the running morrowby.exe and of the floor program.
void MeasureIdleAndMemory(std::vector<BudgetRow>& rows);
void MeasureStallWhileClosingHungWindow(std::vector<BudgetRow>& rows);
