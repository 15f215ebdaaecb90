#include "ui/core/AttributeTable.h"

namespace SkinUI {

bool CAttributeTable::Apply(CControlUI& control, const std::wstring& lowerName, const std::wstring& value) const
{
    for (const CAttributeTable* table = this; table; table = table->m_base) {
        if (table->ApplyOwn(control, lowerName, value)) return true;
    }
    return false;
}

bool CAttributeTable::ApplyOwn(CControlUI& control, const std::wstring& lowerName, const std::wstring& value) const
{
    // A few dozen names at most, looked up while a document is built: a plain scan is enough.
    for (const Entry& entry : m_entries) {
        if (lowerName == entry.name) {
            m_call(entry.set, control, value);
            return true;
        }
    }
    return m_other && m_callOther(m_other, control, lowerName, value);
}

}  // namespace SkinUI
