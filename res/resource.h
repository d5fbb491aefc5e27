// Control identifiers of the setup window.
#pragma once

#define IDC_LOCATION 1001        // the label and the location edit box
#define IDC_EMOJI_FONT 1002
#define IDC_SHORTCUTS 1003
#define IDC_OK_BUTTON 1006
#define IDC_CANCEL_BUTTON 1007
#define IDC_PROGRESS 1008
