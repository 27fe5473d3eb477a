// Resource identifiers of the runtime executable, shared by the resource script and the
// code that loads them.
#pragma once

// The form icon comes first, so that it is the program's icon in Explorer.
#define IDI_FORM 1
#define IDI_TRAY_SECOND 2
#define IDI_FORM_LOW_COLOUR 3
#define IDI_TRAY_SECOND_LOW_COLOUR 4
