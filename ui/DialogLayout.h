#pragma once

#include "ui/DialogUnits.h"

#include <QPointer>
#include <QWidget>
#include <vector>

namespace quarvel {

// The placement table of a fixed-size dialog: each control with its
// rectangle in dialog units. apply() converts every rectangle with the
// dialog's current font, so the dialog can be laid out again when its font
// changes.
class DialogLayout
{
public:
    DialogLayout(QWidget* dialog, int width, int height)
        : m_dialog(dialog), m_size{0, 0, width, height}
    {
    }

    void place(QWidget* control, DialogRect rect) { m_entries.push_back({control, rect, 0}); }
    // A control that shows a text (label, check box, radio button): where
    // the font needs more room for the text than the rectangle gives, the
    // control widens to the right, at most up to `rightLimit` (dialog units:
    // the next control on its row or the dialog's margin), so that no text
    // is cut. Position and height stay those of the rectangle.
    void placeText(QWidget* control, DialogRect rect, int rightLimit)
    {
        m_entries.push_back({control, rect, rightLimit});
    }

    // Places every control and fixes the dialog's size.
    void apply() const;

private:
    struct Entry
    {
        QPointer<QWidget> control;
        DialogRect rect;
        int rightLimit; // 0: the rectangle as it is
    };

    QWidget* m_dialog;
    DialogRect m_size;
    std::vector<Entry> m_entries;
};

} // namespace quarvel
