#include "ui/DialogLayout.h"

namespace quarvel {

void DialogLayout::apply() const
{
    const DialogUnits units(m_dialog->font());
    for (const Entry& entry : m_entries) {
        if (!entry.control)
            continue;
        QRect geometry = units.rect(entry.rect);
        if (entry.rightLimit > 0) {
            const int room = units.x(entry.rightLimit) - geometry.left();
            const int wanted = entry.control->sizeHint().width();
            geometry.setWidth(qMax(geometry.width(), qMin(wanted, room)));
        }
        entry.control->setGeometry(geometry);
    }
    m_dialog->setFixedSize(units.size(m_size.width, m_size.height));
}

} // namespace quarvel
