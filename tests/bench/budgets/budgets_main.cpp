// Measures Morrowby against its budgets and prints a table, also written to
// the file named on the command line (Markdown). With --in-process only the
// measurements of the program's code linked in here are made (seconds, not
// minutes).
#include "budgets.h"
#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    const char* output = nullptr;
    bool inProcessOnly = false;
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "--in-process") == 0)
            inProcessOnly = true;
        else
            output = argv[i];
    }
    std::vector<BudgetRow> rows;
    MeasureHookCosts(rows);
    MeasureVideoTick(rows);
    MeasureLockCycles(rows);
    if (!inProcessOnly) {
        MeasureIdleAndMemory(rows);
        MeasureStallWhileClosingHungWindow(rows);
    }

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
    if (output) {
        FILE* out = fopen(output, "w");
        if (out) {
            fputs(table.c_str(), out);
            fclose(out);
        }
    }
    return all ? 0 : 1;
}
