// Resource ids shared by the resource script and the code.
#pragma once

#define IDI_APPLICATION_ICON 101
#define IDI_NOTICE_ICON 102
#define IDD_SETUP_DOWNLOAD 129
#define IDC_DOWNLOAD_PROGRESS 1000
#define IDC_DOWNLOAD_STATUS 1001
