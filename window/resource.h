// Resource IDs, shared by velkin.rc and the code.
#pragma once

#define IDI_VELKIN 1
#define IDR_BACKGROUND 101
#define IDD_INPUTBOX 102
#define IDC_ANSWER 1000
#define IDC_PROMPT 1001
