#include "settings_fields.h"

SettingsRecord::SettingsRecord() {
    for (const SettingsField& field : SettingsFields) {
        if (field.Flag)
            this->*field.Flag = field.FirstRun != 0;
        else if (field.Number)
            this->*field.Number = field.FirstRun;
    }
}
