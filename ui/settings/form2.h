// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/settings/settings.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class SettingsKeeper;

// The settings dialog. Edits a copy of the record in its controls and hands it back on save;
// the keeper's record changes only then. Create it afresh for every opening: it fills itself
// from the record once, when built.
class Form2 : public QDialog {
    Q_OBJECT
public:
    explicit Form2(SettingsKeeper& keeper, QWidget* parent = nullptr);

    void Command1_Click(); // 保存设置
    void Command2_Click(); // 取消
    void Command3_Click(); // ... (browse)

    // The file-open dialog: returns the chosen existing file, or an empty text when the user
    // cancelled. Tests put their own answer here.
    std::function<QString(QWidget* parent, const QString& filter)> CommonDialog1;

    // Controls, by their design names.
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QGroupBox* Frame4 = nullptr;
    QGroupBox* Frame5 = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    QPlainTextEdit* Text2 = nullptr;
    QPlainTextEdit* Text3 = nullptr;
    QPlainTextEdit* Text4 = nullptr;
    QLabel* Label1[4] = {}; // by index, as designed
    QCheckBox* Check1 = nullptr;
    QCheckBox* Check2 = nullptr;
    QCheckBox* Check3 = nullptr;
    QCheckBox* Check4 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* myssoft = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // A rule's box and what it showed when filled: unless the user changed it, saving keeps
    // the record's own text (the box would turn a no-break space into a plain one).
    struct Rule {
        QPlainTextEdit* edit = nullptr;
        QString* field = nullptr;
        QString filled;
    };
    // An option's box and what the record held when the dialog was filled.
    struct Option {
        QCheckBox* box = nullptr;
        qint16 stored = 0;
        bool touched = false;
    };

    void buildControls();
    void Form_Load();
    qint16 optionValue(const Option& option) const;

    SettingsKeeper& m_keeper;
    Settings m_record;
    Rule m_rules[4];
    Option m_options[4];
};
