#pragma once
// Ids of the program's own resources (icon, strings), shared by the resource script and the code.
#define IDI_KPV 1
#define IDS_SAVER_NAME 1
