#pragma once
#include <functional>
#include <initializer_list>
#include <string>
#include <unordered_map>
#include <utility>

// The markup attributes of a control class: each name with the setter it calls. A class's table
// names its base class's table, where a name it does not know is looked for next, so a control
// class declares its own attributes, in its own file, and inherits the others.
//
// Names are kept ASCII lower-case; CControlUI::SetAttribute folds the markup's name once (the one
// ASCII case rule, ui/text/AsciiCase.h) before the lookup.
namespace SkinUI {

class CControlUI;

class CAttributeTable {
public:
    // Calls the setter of `lowerName` in this table or the nearest base table that has it; false
    // when no table knows the name.
    bool Apply(CControlUI& control, const std::wstring& lowerName, const std::wstring& value) const;

protected:
    using Setter = std::function<void(CControlUI& control, const std::wstring& value)>;

    explicit CAttributeTable(const CAttributeTable* base) : m_base(base) {}
    // `name` must be ASCII lower-case.
    void AddSetter(const wchar_t* name, Setter set);

private:
    const CAttributeTable* m_base;
    std::unordered_map<std::wstring, Setter> m_setters;
};

// The table of control class T: its setters take the control as a T.
template <typename T>
class TAttributeTable : public CAttributeTable {
public:
    using TypedSetter = std::function<void(T& control, const std::wstring& value)>;
    struct Entry {
        const wchar_t* name;  // ASCII lower-case
        TypedSetter set;
    };

    TAttributeTable(const CAttributeTable* base, std::initializer_list<Entry> entries) : CAttributeTable(base)
    {
        for (const Entry& entry : entries) Add(entry.name, entry.set);
    }

    void Add(const wchar_t* name, TypedSetter set)
    {
        AddSetter(name, [set = std::move(set)](CControlUI& control, const std::wstring& value) {
            set(static_cast<T&>(control), value);
        });
    }
};

}  // namespace SkinUI
