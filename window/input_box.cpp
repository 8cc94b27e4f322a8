#include "window/input_box.h"

#include "window/resource.h"
#include "win32/system_error.h"
#include "win32/text.h"
#include "window/win_text.h"

namespace velkin {

namespace {

struct InputBoxData {
    const std::string& title;
    const std::string& prompt;
    std::string answer;
};

INT_PTR CALLBACK InputBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            auto* data = reinterpret_cast<InputBoxData*>(lParam);
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            SetWindowTextW(dialog, Wide(data->title).c_str());
            SetDlgItemTextW(dialog, IDC_PROMPT, Wide(data->prompt).c_str());
            // The box itself sets no limit on the answer.
            SendDlgItemMessageW(dialog, IDC_ANSWER, EM_SETLIMITTEXT, 0, 0);
            return TRUE;  // focus goes to the first tab stop, the answer field
        }
        case WM_COMMAND: {
            auto* data = reinterpret_cast<InputBoxData*>(GetWindowLongPtrW(dialog, DWLP_USER));
            switch (LOWORD(wParam)) {
                case IDOK:
                    data->answer = WindowText(GetDlgItem(dialog, IDC_ANSWER));
                    EndDialog(dialog, IDOK);
                    return TRUE;
                case IDCANCEL:
                    data->answer.clear();
                    EndDialog(dialog, IDCANCEL);
                    return TRUE;
            }
            return FALSE;
        }
    }
    return FALSE;
}

}  // namespace

Result RunInputBox(HWND owner, const std::string& title, const std::string& prompt,
                   std::string& answer) {
    InputBoxData data{title, prompt, {}};
    SetLastError(0);
    INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_INPUTBOX),
                                     owner, InputBoxProc, reinterpret_cast<LPARAM>(&data));
    if (result == IDOK || result == IDCANCEL) {
        answer = result == IDOK ? data.answer : std::string();
        return Result::Success();
    }
    const DWORD code = GetLastError();
    return code != 0 ? LastError(code) : Result::Failure("The dialog template is missing.");
}

}  // namespace velkin
