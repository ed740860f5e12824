#pragma once

#include "settings/settings.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class SettingsFile;

// The settings dialog. Works on a copy in its controls; the record changes only on save.
class Form2 : public QDialog {
    Q_OBJECT
public:
    // record: the main window's settings; file: where SaveSettings writes them.
    Form2(Settings& record, const SettingsFile& file, QWidget* parent = nullptr);

    void Command1_Click(); // 保存设置
    void Command2_Click(); // 取消
    void Command3_Click(); // ... (browse)

private:
    void Form_Load();

    Settings& m_record;
    const SettingsFile& m_file;
};
