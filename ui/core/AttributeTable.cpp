#include "ui/core/AttributeTable.h"

#include <utility>

namespace SkinUI {

bool CAttributeTable::Apply(CControlUI& control, const std::wstring& lowerName, const std::wstring& value) const
{
    for (const CAttributeTable* table = this; table; table = table->m_base) {
        const auto found = table->m_setters.find(lowerName);
        if (found != table->m_setters.end()) {
            found->second(control, value);
            return true;
        }
    }
    return false;
}

void CAttributeTable::AddSetter(const wchar_t* name, Setter set) { m_setters.emplace(name, std::move(set)); }

}  // namespace SkinUI
