#pragma once
// An option-button array: the option buttons of one setting, addressed by index. Selecting one (by a
// click, an arrow key or the program) unselects the others of the array and raises Click(index); the
// selected one is the group's tab stop. Each array sits in a container of its own, so arrays never
// interfere with each other.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace kpv::rt {

class OptionArray {
public:
    // Adds the next element (index = number of elements so far).
    bool Add(HWND parent, int id, const std::wstring& caption, const RECT& pixels, HFONT font);
    int Count() const { return static_cast<int>(buttons_.size()); }
    HWND Button(int index) const;

    bool Value(int index) const;
    // Value = true selects the element, unselects the others and raises Click; false only unselects it.
    void SetValue(int index, bool on);
    int Selected() const;  // -1 when none is
    void SetEnabled(int index, bool enabled);
    bool Enabled(int index) const;

    // A WM_COMMAND report; true when it came from one of this array's buttons.
    bool OnCommand(WPARAM wParam, LPARAM lParam);

    std::function<void(int index)> click;

private:
    int IndexOf(HWND button) const;
    void UpdateTabStops();

    std::vector<HWND> buttons_;
};

}  // namespace kpv::rt
