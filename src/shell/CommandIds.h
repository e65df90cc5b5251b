#pragma once

// Resource, command and control identifiers of the programmers. They are the
// programs' own numbers: language modules carry texts under them, and they
// double as help context numbers (a menu command opens the help page of its
// number).

namespace varo::shell {

// Resources.
constexpr int IDR_MAINFRAME = 128;  // frame title string, menu, toolbar, accelerators
constexpr int IDR_DOCMENU = 129;    // menu shown while a document window exists; template string
constexpr int IDD_ABOUTBOX = 100;
constexpr int IDD_CONTROLBAR = 130;
constexpr int IDD_PROCESS = 131;
constexpr int IDD_OPTIONAL_FEATURES = 132;
constexpr int IDD_SCAN_INFO = 133;
constexpr int IDD_LANGUAGE = 134;
constexpr int IDD_COM_SETUP = 135;
constexpr int IDD_PRODUCT_INFO = 136;

// Framework strings.
constexpr int IDS_APP_TITLE = 57344;
constexpr int IDS_IDLEMESSAGE = 57345;
constexpr int ID_INDICATOR_CAPS = 59137;
constexpr int ID_INDICATOR_NUM = 59138;
constexpr int ID_INDICATOR_SCRL = 59139;

// Message strings.
constexpr int IDS_CLEAR_ALL = 61452;  // "All data will be Cleared!"
constexpr int IDS_CAUTION = 61458;
constexpr int IDS_SIMULATED_PORT = 61459;  // status pane: "%1: simulated radio"
constexpr int IDS_PDF_FAILED = 61460;      // "The PDF file could not be written..."

// Commands.
constexpr int ID_FILE_NEW = 57600;
constexpr int ID_FILE_OPEN = 57601;
constexpr int ID_FILE_CLOSE = 57602;
constexpr int ID_FILE_SAVE = 57603;
constexpr int ID_FILE_SAVE_AS = 57604;
constexpr int ID_FILE_PRINT_SETUP = 57606;
constexpr int ID_FILE_PRINT = 57607;
constexpr int ID_FILE_PRINT_DIRECT = 57608;
constexpr int ID_FILE_PRINT_PREVIEW = 57609;
constexpr int ID_EDIT_CLEAR = 57632;  // Clear Rows (Del in the table)
constexpr int ID_EDIT_COPY = 57634;
constexpr int ID_EDIT_CUT = 57635;
constexpr int ID_EDIT_PASTE = 57637;
constexpr int ID_EDIT_UNDO = 57643;
constexpr int ID_EDIT_REDO = 57644;
constexpr int ID_APP_ABOUT = 57664;
constexpr int ID_APP_EXIT = 57665;
constexpr int ID_HELP_FINDER = 57667;  // Help Topics: the help contents
constexpr int ID_HELP = 57670;
constexpr int ID_NEXT_PANE = 57680;
constexpr int ID_PREV_PANE = 57681;
constexpr int ID_VIEW_TOOLBAR = 59392;
constexpr int ID_VIEW_STATUS_BAR = 59393;
constexpr int ID_READ = 32773;
constexpr int ID_WRITE = 32774;
constexpr int ID_COM_SETUP = 32777;
constexpr int ID_VIEW_CONTROL_BAR = 32780;
constexpr int ID_SCAN_INFO = 32782;
constexpr int ID_PRODUCT_INFO = 32786;
constexpr int ID_CHANNEL_INFO = 32787;
constexpr int ID_OPTIONAL_FEATURES = 32788;
constexpr int ID_LANGUAGE = 32799;
constexpr int ID_FILE_PRINT_PDF = 32800;  // the report as a PDF file, without a printer
constexpr int ID_VERIFY = 32801;          // read the radio into a copy and compare
constexpr int ID_FLEET = 32810;           // Write to Several Radios: a batch, each verified and logged
// The channel table as a spreadsheet: row operations, plan files, comparison.
constexpr int ID_ROW_INSERT = 32820;
constexpr int ID_ROW_DELETE = 32821;
constexpr int ID_ROW_MOVE_UP = 32822;
constexpr int ID_ROW_MOVE_DOWN = 32823;
constexpr int ID_FILL_DOWN = 32824;
constexpr int ID_FILE_EXPORT_CSV = 32825;
constexpr int ID_FILE_IMPORT_CSV = 32826;
constexpr int ID_FILE_COMPARE = 32827;

// Controls.
constexpr int IDC_CONTROL_BAR = 100;
constexpr int IDC_NAV_TREE = 1032;
constexpr int IDC_GRID = 1000;
constexpr int IDC_PORT_PANE = 1040;       // status bar pane of a redirected port
constexpr int IDC_PORT_OVERRIDES = 1011;  // COM Setup: the redirected ports

}  // namespace varo::shell
