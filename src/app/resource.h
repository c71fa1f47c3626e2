#pragma once
#define IDI_KPV 1
#define IDS_SAVER_NAME 1
