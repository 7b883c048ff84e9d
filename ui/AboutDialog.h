#pragma once

#include "ui/DialogLayout.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace quarvel {

// "About Quarvel...": the logo, the product name and version, the maker's
// notice and addresses. "OK", Enter, Esc and the close box all end it the
// same way; its result means nothing.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget* parent = nullptr);

protected:
    void changeEvent(QEvent* event) override;

private:
    void createControls();

    DialogLayout m_layout;
    QLabel* m_logo = nullptr;
    QPushButton* m_ok = nullptr;
};

} // namespace quarvel
