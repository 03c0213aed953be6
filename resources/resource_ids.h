// Numeric ids of the program's resources (shared by the .rc script and the code).
#pragma once

#define IDI_MAIN 107       // main icon: browse window class icon
#define IDI_ALTERNATE 108  // alternate icon: second frame of the about box animation

// Browse window: menu 109 (also the accelerator table), pop-ups for a selection
// (106) and for the empty list (107).
#define IDR_BROWSE_MENU 109
#define IDR_BROWSE_ACCEL 109
#define IDR_ITEM_POPUP 106
#define IDR_BACKGROUND_POPUP 107

// Viewer window: menu 103, accelerators 102, pop-up menu 129.
#define IDR_VIEWER_MENU 103
#define IDR_VIEWER_ACCEL 102
#define IDR_VIEWER_POPUP 129

#define IDB_TOOLBAR 108        // 40 toolbar images of 16 x 16
#define IDB_ABOUT 112          // about box picture
#define IDB_POSITION_FIRST 2000  // print position pictures 2000..2008, row-major 3 x 3

#define IDC_PAN_HELD 101
#define IDC_PAN_READY 102
#define IDC_SELECT 103
#define IDC_SELECT_ADD 104

// About box and its controls.
#define IDD_ABOUT 100
#define IDC_ABOUT_VERSION 113
#define IDC_ABOUT_ICON 128
#define IDC_ABOUT_VISIT 1032
#define IDC_ABOUT_PRODUCT 1035
#define IDC_ABOUT_PICTURE 1036

// Notice before a slide show started from the browse window.
#define IDD_SLIDE_SHOW_NOTICE 113
#define IDC_NOTICE_ICON 1037
#define IDC_NOTICE_DONT_SHOW 1038

// Strings.
#define IDS_VERSION 101
#define IDS_PHOTO_COUNT 102
#define IDS_NO_BROWSE_WINDOW 200
#define IDS_NO_WEB_BROWSER 202
#define IDS_OVERVIEW_UNREADABLE 203
#define IDS_INFO_UNREADABLE 204
#define IDS_NO_DISC_FOUND 205
#define IDS_CANNOT_OPEN_IMAGE 206
#define IDS_COPY_FAILED 207
#define IDS_NO_DISC 208
#define IDS_PHOTOS_SKIPPED 209
#define IDS_COMMAND_BUSY 210       // Export, Print, Copy or wallpaper while another runs
#define IDS_WAIT_FOR_COMMAND 211   // close, Exit or a command while a window's command runs
#define IDS_PRODUCT_HOME_PAGE 500
#define IDS_MAKER_HOME_PAGE 501
#define IDS_COPY_IMAGE_FAILED 1005
#define IDS_COPY_CAPTION 1117
#define IDS_COPYING 1118

// ---- Export option dialogs and the progress window (export_dialogs.rc) ----
#define IDD_PROGRESS 503             // progress window
#define IDC_PROGRESS_TEXT 507        // its text line
#define IDC_PROGRESS_BAR 520         // its progress bar

#define IDC_RESET_ALL 3              // "Reset all" in both option dialogs
#define IDC_SAVE_AS_DEFAULTS 530     // "Save these settings as the defaults", both dialogs

#define IDD_JPEG_OPTIONS 507
#define IDC_JPEG_QUALITY_SLIDER 522
#define IDC_JPEG_QUALITY 523         // quality field, buddy of the spin
#define IDC_JPEG_QUALITY_SPIN 524
#define IDC_JPEG_OPTIMIZE 525
#define IDC_JPEG_PROGRESSIVE 526
#define IDC_JPEG_SAMPLING 527
#define IDC_JPEG_SMOOTHING 528       // smoothing field, buddy of the spin
#define IDC_JPEG_SMOOTHING_SPIN 529

#define IDD_TIFF_OPTIONS 511
#define IDC_TIFF_NONE 540            // compression buttons 540..545 in index order
#define IDC_TIFF_CCITT3 541
#define IDC_TIFF_CCITT4 542
#define IDC_TIFF_LZW 543
#define IDC_TIFF_DEFLATE 544
#define IDC_TIFF_JPEG 545
#define IDC_TIFF_DPI_X 546
#define IDC_TIFF_DPI_Y 547

#define IDS_SAMPLING_NONE 6400       // "YUV 111 (None)"
#define IDS_SAMPLING_DEFAULT 6401    // "YUV 122 (Default)"
// ---- end of export option dialogs ----

// ---- Options sheet (options.rc) ----
#define IDD_OPTIONS_DISPLAY 105
#define IDD_OPTIONS_SLIDE_SHOW 1015
#define IDC_OPT_FULL_SCREEN 1000       // "Default full-screen mode"
#define IDC_OPT_USE_DDB 190            // present but hidden
#define IDC_OPT_GAMMA_ENABLE 532
#define IDC_OPT_GAMMA_SPIN 533
#define IDC_OPT_GAMMA 534
#define IDC_OPT_DITHERING 1015
#define IDC_OPT_RESOLUTION 389
#define IDC_OPT_SAME_TONE 1001         // "Same tone at every level"
#define IDC_OPT_REPEAT 155
#define IDC_OPT_RANDOMIZE 156
#define IDC_OPT_READ_AHEAD 152         // present but hidden
#define IDC_OPT_DELAY_SLIDER 308
#define IDC_OPT_DELAY 373
#define IDC_OPT_DELAY_TEXT 176
#define IDS_DITHER_NONE 104            // dithering list rows: 104 None, 105 Ordered,
#define IDS_DITHER_ORDERED 105         // 106 Floyd-Steinberg, 107 2-Pass Floyd-Steinberg
#define IDS_DITHER_FLOYD 106
#define IDS_DITHER_TWO_PASS 107
#define IDS_OPTIONS_CAPTION 108
#define IDS_BAD_GAMMA 201
// ---- end of Options sheet ----

// ---- Photo properties sheet (properties.rc) ----
#define IDD_PROPERTIES_IMAGE 109
#define IDD_PROPERTIES_LABORATORY 1017
#define IDC_PROP_NUMBER 1027
#define IDC_PROP_PICTURE 1029          // the thumbnail's image view, made by the page
#define IDC_PROP_PICTURE_FRAME 1039    // the etched frame around it
#define IDC_PROP_MAGNIFICATION 1020
#define IDC_PROP_SCAN_TIME 1021
#define IDC_PROP_MODIFIED_TIME 1022
#define IDC_PROP_MEDIA_TYPE 1024
#define IDC_PROP_MEDIA_INFO 1023
#define IDC_PROP_BASE_64 1037           // level boxes: BASE/64, BASE/16, BASE/4
#define IDC_PROP_BASE_16 1036
#define IDC_PROP_BASE_4 1035
#define IDC_PROP_BASE 1030              // BASE, 4*BASE, 16*BASE, 64*BASE
#define IDC_PROP_4BASE 1031
#define IDC_PROP_16BASE 1032
#define IDC_PROP_64BASE 1033
#define IDC_PROP_COPYRIGHT 1011
#define IDC_PROP_IMAGE_ID 1028
#define IDC_PROP_PHOTOFINISHER 1026
#define IDC_PROP_DISC_VERSION 1025
#define IDC_PROP_VENDOR 1018
#define IDC_PROP_PRODUCT 1017
#define IDC_PROP_FIRMWARE_VERSION 1016
#define IDC_PROP_FIRMWARE_DATE 1015
#define IDC_PROP_SERIAL 1014
#define IDC_PROP_PIXEL_SIZE 1013
#define IDC_PROP_WORKSTATION_VERSION 1012
#define IDC_PROP_WORKSTATION 1010
#define IDS_NOT_AVAILABLE 109           // "n/a"
#define IDS_PROPERTIES_CAPTION 110
#define IDS_MEDIA_FIRST 111             // media type texts 111..119, 120 "Unknown"
// ---- end of photo properties sheet ----

// Export dialog.
#define IDD_EXPORT 502
#define IDC_EXPORT_RESOLUTION 600
#define IDC_EXPORT_ROTATE_NONE 601   // rotation buttons 601..604: none, left, right, 180
#define IDC_EXPORT_ROTATE_LEFT 602
#define IDC_EXPORT_ROTATE_RIGHT 603
#define IDC_EXPORT_ROTATE_180 604
#define IDC_EXPORT_FORMAT 605
#define IDC_EXPORT_OPTIONS 606
#define IDC_EXPORT_FOLDER 607
#define IDC_EXPORT_BROWSE 608
#define IDI_ROTATE_NONE 150
#define IDI_ROTATE_LEFT 151
#define IDI_ROTATE_RIGHT 152
#define IDI_ROTATE_180 153

#define IDS_PROGRAM_CAPTION 6409         // "Lumivexa SE"
#define IDS_EXPORT_NO_FOLDER 6410
#define IDS_EXPORT_FOLDER_MISSING 6411
#define IDS_EXPORT_FOLDER_READ_ONLY 6412
#define IDS_EXPORT_CAPTION 6413          // "Exporting..."
#define IDS_EXPORT_CONVERTING 6414       // "Converting %s -> %s"
#define IDS_EXPORT_READ_FAILED 6415
#define IDS_CONVERSION_FAILED 6416
#define IDS_EXPORT_INVALID_BITMAP 6417
#define IDS_EXPORT_OPEN_FAILED 6418
#define IDS_EXPORT_WRITE_FAILED 6419
#define IDS_EXPORT_CLOSE_FAILED 6420
#define IDS_EXPORT_BROWSE_TITLE 6421
#define IDS_EXPORT_ROTATE_FAILED 6422    // "Not enough memory to turn %s."

// Asked when an export would replace an existing file.
#define IDD_EXPORT_REPLACE 512
#define IDC_REPLACE_TEXT 610
#define IDC_REPLACE_ALL 611              // "Yes to &all"; IDYES, IDNO, IDCANCEL answer the rest
#define IDC_REPLACE_ICON 612
#define IDS_EXPORT_REPLACE 6423          // "%s already exists. Replace it?"
// ---- end of export dialogs ----

// ---- Print setup dialog and the print job (print.rc) ----
#define IDD_PRINT_SETUP 101
#define IDC_PRINT_DESCRIPTION 514
#define IDC_PRINT_PHOTOGRAPHER 515
#define IDC_PRINT_CAPTION 516
#define IDC_PRINT_NUMBER 518
#define IDC_PRINT_DATE 519
#define IDC_PRINT_GAMMA 532          // enables the gamma value and its spin
#define IDC_PRINT_GAMMA_SPIN 533
#define IDC_PRINT_GAMMA_VALUE 534
#define IDC_PRINT_TOP_SPIN 535
#define IDC_PRINT_BOTTOM_SPIN 536
#define IDC_PRINT_LEFT_SPIN 537
#define IDC_PRINT_RIGHT_SPIN 538
#define IDC_PRINT_WIDTH_SPIN 539
#define IDC_PRINT_TOP 540
#define IDC_PRINT_LEFT 541
#define IDC_PRINT_RIGHT 542
#define IDC_PRINT_BOTTOM 543
#define IDC_PRINT_SIZE_MODE 544
#define IDC_PRINT_WIDTH 545
#define IDC_PRINT_HEIGHT 546
#define IDC_PRINT_ASPECT 547
#define IDC_PRINT_HEIGHT_SPIN 548
#define IDC_PRINT_RESOLUTION 549
#define IDC_PRINT_RESOLUTION_SPIN 550
#define IDC_PRINT_PAGE 551
#define IDC_PRINT_PAGE_SPIN 553
#define IDC_PRINT_PAGE_COUNT 555
#define IDC_PRINT_PREVIEW_PLACE 556  // hidden; the preview takes its place
#define IDC_PRINT_WIDTH_LABEL 557    // labels and "inches" texts of width and height
#define IDC_PRINT_WIDTH_UNIT 558
#define IDC_PRINT_HEIGHT_LABEL 559
#define IDC_PRINT_HEIGHT_UNIT 560
#define IDC_PRINT_POSITION_FIRST 571 // position buttons 571..579, row-major 3 x 3
#define IDC_PRINT_PAGINATING 580
#define IDC_PRINT_PREVIEW 581
#define IDC_PRINT_SAVE 582

#define IDS_PRINT_INVALID 5100
#define IDS_PRINT_OUT_OF_RANGE 5101
#define IDS_PRINT_NO_BITMAPS 5102
#define IDS_PRINT_FAILURE 5103
#define IDS_PRINT_NO_SCALING 5104
#define IDS_PRINT_PROGRESS_CAPTION 5105
#define IDS_PRINT_NO_PROGRESS 5106
#define IDS_PRINT_ERROR 5107
#define IDS_PRINT_JOB_NAME 5108
#define IDS_PRINT_CANNOT_READ 5109
#define IDS_PRINT_DECODING 5110
#define IDS_PRINT_PRINTING 5111
#define IDS_PRINT_CANNOT_LOAD 5112
#define IDS_PRINT_NO_BITMAP 5113
#define IDS_PRINT_CANNOT_CROP 5114
#define IDS_PRINT_TRANSFER_FAILED 5115
#define IDS_PRINT_FIT_TO_PAGE 5116   // the size modes in combo order
#define IDS_PRINT_SPECIFIED_SIZE 5117
#define IDS_PRINT_THUMBNAILS 5118
// ---- end of print ----

// ---- disc images (ids of our own) ----
#define IDS_DISC_IMAGE_FILTER 40200
#define IDS_DISC_IMAGE_TITLE 40201
#define IDS_DISC_IMAGE_UNREADABLE 40202
#define IDS_IMAGE_WITHOUT_PHOTOS 40203
// ---- end of disc images ----

// ---- folders opened as discs (ids of our own) ----
#define IDS_OPEN_FOLDER_TITLE 40210
#define IDS_NO_PHOTOS_IN_FOLDER 40211
#define IDS_FOLDER_UNREADABLE 40212
// ---- end of folders ----
// ---- help (ids of our own) ----
#define IDS_HELP_UNAVAILABLE 40300  // file, then one of the reasons below
#define IDS_HELP_MISSING 40301
#define IDS_HELP_NO_VIEWER 40302
#define IDS_HELP_REFUSED 40303
#define IDS_HELP_WHATS_THIS 40304
// ---- end of help ----
// ---- photos read from damaged data (ids of our own) ----
#define IDS_PHOTO_REPAIRED 40310      // the viewer's status bar and Export
#define IDS_PHOTO_LOWER_LEVEL 40311
#define IDS_EXPORT_REPAIRED 40312     // after an export: one line per such photo
// ---- end of photos read from damaged data ----
