#include "settings/form2.h"

#include "settings/settings_file.h"

// Placeholder until the settings dialog is built; it shows nothing yet.
Form2::Form2(Settings& record, const SettingsFile& file, QWidget* parent)
    : QDialog(parent), m_record(record), m_file(file)
{
    setObjectName(QStringLiteral("Form2"));
}

void Form2::Form_Load() {}
void Form2::Command1_Click() {}
void Form2::Command2_Click() {}
void Form2::Command3_Click() {}
