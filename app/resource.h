/* app/resource.h - identifiers shared by ruvex.rc and the C++ code; plain #defines, since windres reads it. */
#ifndef RUVEX_APP_RESOURCE_H
#define RUVEX_APP_RESOURCE_H

/* IDD_MAIN: the main window; its controls are 1001-1099 */
#define IDD_MAIN                1000
#define IDC_PATH_LABEL          1001
#define IDC_FILE_LIST           1002
/*      1003 is deliberately unused */
#define IDC_NEW_FOLDER          1004
#define IDC_DELETE              1005
#define IDC_UPLOAD              1006
#define IDC_REFRESH             1007

/* IDD_LOGIN: the login dialog; its controls are 2001-2099 */
#define IDD_LOGIN               2000
#define IDC_SERVER_LABEL        2001
#define IDC_USERNAME_LABEL      2002
#define IDC_PASSWORD_LABEL      2003
#define IDC_SERVER              2004
#define IDC_USERNAME            2005
#define IDC_PASSWORD            2006
#define IDC_LOGIN               2007

/* IDD_PROMPT: the one-line text prompt; its controls are 3001-3099 */
#define IDD_PROMPT              3000
#define IDC_PROMPT_TEXT         3001
#define IDC_PROMPT_OK           3002
#define IDC_PROMPT_EDIT         3003

/* Bitmaps: file type i is bitmap 400 + i (browser/file_types.h names the indexes) */
#define IDB_FILETYPE_FIRST      400
#define IDB_REFRESH             450
#define IDB_UPLOAD              451
#define IDB_NEW_FOLDER          452
#define IDB_DELETE              453

/* The application icon; it shares its number with IDD_MAIN, a different resource type */
#define IDI_APP                 1000

#endif
