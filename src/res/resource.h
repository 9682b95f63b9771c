// Resource ids of Kestrix: the main dialog, its controls and the program icon.
// One "#define NAME NUMBER" a line; the platform reads this file as the
// program's table of resource names.
#pragma once

#define IDD_MAIN_DIALOG 102
#define IDR_MAINFRAME 128

#define IDC_DIGIT1 1000
#define IDC_DIGIT2 1001
#define IDC_KEY_1 1002
#define IDC_KEY_4 1003
#define IDC_KEY_2 1004
#define IDC_KEY_5 1005
#define IDC_KEY_7 1006
#define IDC_KEY_8 1007
#define IDC_KEY_3 1008
#define IDC_KEY_6 1009
#define IDC_KEY_9 1010
#define IDC_KEY_A 1011
#define IDC_KEY_B 1012
#define IDC_KEY_D 1014
#define IDC_KEY_E 1015
#define IDC_KEY_F 1016
#define IDC_KEY_0 1017
#define IDC_DIGIT3 1019
#define IDC_DIGIT4 1020
#define IDC_KEY_C 1021
#define IDC_DIGIT5 1022
#define IDC_DIGIT6 1023
#define IDC_PREFIX_LABEL 1024
#define IDC_HWTYPE_LABEL 1025
#define IDC_SEP1 1026
#define IDC_SEP2 1027
#define IDC_SAVE 1028
#define IDC_CLOSE 1029

#define IDC_STATIC -1
