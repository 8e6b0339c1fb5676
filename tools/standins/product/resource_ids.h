#pragma once

#define IDS_WINDOW_TITLE 1
#define IDS_IDENTITY 2
#define IDS_PROJECT_TYPE 3
#define IDS_CABINET_TYPE 4
#define IDS_LIBRARY_TYPE 5
