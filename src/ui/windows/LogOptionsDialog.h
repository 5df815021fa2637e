#pragma once

#include "log/LogOptions.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;

// Which QSOs of the user's log count and which confirmations: LoTW, card
// and eQSL boxes, the user's calls ("DL1XYZ, DA0XYZ"; empty: all) and the
// first date ("2020-01-01"; empty: from the first QSO). A date that does
// not read keeps the dialog open with the reason.
class LogOptionsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit LogOptionsDialog(const LogOptions& options, QWidget* parent = nullptr);

    LogOptions options() const { return m_options; }

    void accept() override;

private:
    LogOptions m_options;
    QCheckBox* m_lotw = nullptr;
    QCheckBox* m_card = nullptr;
    QCheckBox* m_eqsl = nullptr;
    QLineEdit* m_calls = nullptr;
    QLineEdit* m_since = nullptr;
    QLabel* m_problem = nullptr;
};
