#pragma once
#include <initializer_list>
#include <string>
#include <vector>

// The markup attributes of a control class: each name with the setter it calls. A class's table
// names its base class's table, where a name it does not know is looked for next, so a control
// class declares its own attributes, in its own file, and inherits the others.
//
// Names are kept ASCII lower-case; CControlUI::SetAttribute folds the markup's name once (the one
// ASCII case rule, ui/text/AsciiCase.h) before the lookup. Setters are plain functions (lambdas
// without captures), not std::function: the tables are in every control class of a program whose
// size is budgeted.
namespace SkinUI {

class CControlUI;

class CAttributeTable {
public:
    // Calls the setter of `lowerName` in this table or the nearest base table that has it; false
    // when no table knows the name.
    bool Apply(CControlUI& control, const std::wstring& lowerName, const std::wstring& value) const;

protected:
    // Any function, kept as the one generic function pointer type and cast back to its own type
    // by `call` or `callOther`.
    using AnyFunction = void (*)();
    using Caller = void (*)(AnyFunction set, CControlUI& control, const std::wstring& value);
    using OtherCaller = bool (*)(AnyFunction other, CControlUI& control, const std::wstring& lowerName,
                                 const std::wstring& value);
    struct Entry {
        const wchar_t* name;  // ASCII lower-case
        AnyFunction set;
    };

    CAttributeTable(const CAttributeTable* base, Caller call, AnyFunction other, OtherCaller callOther)
        : m_base(base), m_call(call), m_other(other), m_callOther(callOther)
    {
    }
    void AddEntry(const wchar_t* name, AnyFunction set) { m_entries.push_back(Entry{name, set}); }

private:
    bool ApplyOwn(CControlUI& control, const std::wstring& lowerName, const std::wstring& value) const;

    const CAttributeTable* m_base;
    Caller m_call;
    AnyFunction m_other;
    OtherCaller m_callOther;
    std::vector<Entry> m_entries;
};

// The table of control class T: its setters take the control as a T. `other`, when given, is asked
// for names outside the list (a family of names made from parts, say) and answers whether it took
// the name.
template <typename T>
class TAttributeTable : public CAttributeTable {
public:
    using Setter = void (*)(T& control, const std::wstring& value);
    using Other = bool (*)(T& control, const std::wstring& lowerName, const std::wstring& value);
    struct TypedEntry {
        const wchar_t* name;  // ASCII lower-case
        Setter set;
    };

    TAttributeTable(const CAttributeTable* base, std::initializer_list<TypedEntry> entries, Other other = nullptr)
        : CAttributeTable(base, &Call, reinterpret_cast<AnyFunction>(other), &CallOther)
    {
        for (const TypedEntry& entry : entries) AddEntry(entry.name, reinterpret_cast<AnyFunction>(entry.set));
    }

private:
    static void Call(AnyFunction set, CControlUI& control, const std::wstring& value)
    {
        reinterpret_cast<Setter>(set)(static_cast<T&>(control), value);
    }
    static bool CallOther(AnyFunction other, CControlUI& control, const std::wstring& lowerName,
                          const std::wstring& value)
    {
        return reinterpret_cast<Other>(other)(static_cast<T&>(control), lowerName, value);
    }
};

}  // namespace SkinUI
