// Measures Morrowby against its budgets and prints a table, also written to
// the file named on the command line (Markdown).
#include "budgets.h"
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    std::vector<BudgetRow> rows;
    MeasureHookCosts(rows);
    MeasureVideoTick(rows);
    MeasureLockCycles(rows);
    MeasureIdleAndMemory(rows);
    MeasureStallWhileClosingHungWindow(rows);

    std::string table = "| Measure | Morrowby | Floor (minimal Win32 program) | Budget | Within |\n"
                        "|---|---|---|---|---|\n";
    bool all = true;
    for (const BudgetRow& row : rows) {
        table += "| " + row.measure + " | " + row.morrowby + " | " +
                 (row.floor.empty() ? "-" : row.floor) + " | " + row.budget + " | " +
                 (row.withinBudget ? "yes" : "**no**") + " |\n";
        all = all && row.withinBudget;
    }
    fputs(table.c_str(), stdout);
    if (argc > 1) {
        FILE* out = fopen(argv[1], "w");
        if (out) {
            fputs(table.c_str(), out);
            fclose(out);
        }
    }
    return all ? 0 : 1;
}
