#include "app/window_layout.h"

#include <array>
#include <stdexcept>
#include <string>

namespace inkrelay {

namespace {

using enum ControlKind;

constexpr std::string_view NoCoordinates = "(---,---)";

constexpr std::array Form1Controls = {
    ControlPlace{"Frame1", Frame, "", "復元モード", 8, 8, 289, 41},
    ControlPlace{"Option1", Option, "Frame1", "通常", 8, 16, 57, 17},
    ControlPlace{"Option2", Option, "Frame1", "単色線画", 64, 16, 73, 17},
    ControlPlace{"Picture1", Swatch, "Frame1", "", 144, 16, 41, 17},
    ControlPlace{"Command1", Command, "Frame1", "色の指定", 200, 14, 81, 21},
    ControlPlace{"Frame2", Frame, "", "復元先アプレット", 8, 56, 289, 49},
    ControlPlace{"Combo1", Combo, "Frame2", "", 8, 18, 273, 20},
    ControlPlace{"Frame3", Frame, "", "読み取り範囲", 8, 112, 177, 89},
    ControlPlace{"Command2", Command, "Frame3", "範囲の指定", 8, 16, 81, 21},
    ControlPlace{"Text1", Text, "Frame3", NoCoordinates, 8, 40, 81, 18},
    ControlPlace{"Text2", Text, "Frame3", NoCoordinates, 8, 64, 81, 18},
    ControlPlace{"Picture2", Picture, "Frame3", "", 104, 16, 65, 65},
    ControlPlace{"Frame5", Frame, "", "描き込み位置", 200, 112, 97, 89},
    ControlPlace{"Command3", Command, "Frame5", "位置の指定", 8, 16, 81, 21},
    ControlPlace{"Text3", Text, "Frame5", NoCoordinates, 8, 40, 81, 18},
    ControlPlace{"Frame4", Frame, "", "RGB バーの位置", 8, 208, 177, 65},
    ControlPlace{"Command4", Command, "Frame4", "位置の指定", 8, 16, 81, 21},
    ControlPlace{"Text4", Text, "Frame4", "", 8, 40, 81, 18},
    ControlPlace{"Picture3", Picture, "Frame4", "", 104, 16, 65, 41},
    ControlPlace{"Command5", Command, "", "読み取る(&S)", 200, 216, 97, 21},
    ControlPlace{"Command6", Command, "", "描き込む(&D)", 200, 252, 97, 21},
    ControlPlace{"StatusBar1", StatusBar, "", "", 0, 280, 305, 21},
    ControlPlace{"StatusPanel1", StatusPanel, "StatusBar1", "", 0, 2, 228, 19},
    ControlPlace{"StatusPanel2", StatusPanel, "StatusBar1", "", 230, 2, 75, 19},
    ControlPlace{"ProgressBar1", Progress, "", "", 232, 284, 72, 15},
};

constexpr std::array Dialog1Controls = {
    ControlPlace{"Picture1", Icon, "", "", 8, 8, 32, 32},
    ControlPlace{"Label1", Label, "", "インクリレー", 48, 12, 89, 17, {}, false, true},
    ControlPlace{"Label2", Label, "", "Version 2.10", 48, 28, 73, 17},
    ControlPlace{"Label3", Label, "", "Copyright (C) 2026 Inkrelay developers.", 8, 48, 273, 17},
    ControlPlace{"Label4", Label, "", "無断転載禁止。", 8, 64, 97, 17},
    ControlPlace{"Command1", Command, "", "OK", 100, 92, 89, 21, {}, true},
};

constexpr std::array Dialog2Controls = {
    ControlPlace{"Frame1", Frame, "", "復元に関する設定", 8, 8, 289, 81},
    ControlPlace{"Combo1", Combo, "Frame1", "", 80, 20, 201, 20},
    ControlPlace{"Label1", Label, "Frame1", "復元画質(&Q):", 8, 24, 73, 17, "Combo1"},
    ControlPlace{"Combo2", Combo, "Frame1", "", 80, 48, 201, 20},
    ControlPlace{"Label3", Label, "Frame1", "復元方式(&F):", 8, 52, 73, 17, "Combo2"},
    ControlPlace{"Frame2", Frame, "", "読み込みに関する設定", 8, 96, 289, 41},
    ControlPlace{"Check1", Check, "Frame2", "読み込みが完了したら画像ウィンドウを閉じる(&A)", 8, 16,
                 273, 17},
    ControlPlace{"Frame3", Frame, "", "描き込みに関する設定", 8, 144, 289, 73},
    ControlPlace{"Slider1", Slider, "Frame3", "", 128, 14, 129, 33},
    ControlPlace{"Label2", Label, "Frame3", "描き込み速度(&S):", 8, 24, 89, 17, "Slider1"},
    ControlPlace{"Label4", Label, "Frame3", "遅い", 104, 24, 25, 17},
    ControlPlace{"Label5", Label, "Frame3", "速い", 256, 24, 25, 17},
    ControlPlace{"Check2", Check, "Frame3", "色が正しく描き込まれているか検証する(&C)", 8, 48, 273,
                 17},
    ControlPlace{"Command1", Command, "", "OK", 112, 228, 89, 21, {}, true},
    ControlPlace{"Command2", Command, "", "キャンセル", 208, 228, 89, 21},
};

constexpr std::array Form1MenuTree = {
    MenuPlace{"File", "", "ファイル(&F)"},
    MenuPlace{"File_Open", "File", "開く(&O)", 'O'},
    MenuPlace{"File_Border", "File", ""},
    MenuPlace{"File_Exit", "File", "インクリレーの終了(&X)"},
    MenuPlace{"Edit", "", "編集(&E)"},
    MenuPlace{"Edit_Paste", "Edit", "貼り付け(&P)", 'V'},
    MenuPlace{"Edit_Border", "Edit", ""},
    MenuPlace{"Edit_SelectAll", "Edit", "すべて選択(&A)", 'A'},
    MenuPlace{"Edit_SelectSquare", "Edit", "正方形を選択(&S)"},
    MenuPlace{"Edit_SelectSquare_100", "Edit_SelectSquare", "100×100(&1)"},
    MenuPlace{"Edit_SelectSquare_200", "Edit_SelectSquare", "200×200(&2)"},
    MenuPlace{"Edit_SelectSquare_300", "Edit_SelectSquare", "300×300(&3)"},
    MenuPlace{"Edit_SelectSquare_400", "Edit_SelectSquare", "400×400(&4)"},
    MenuPlace{"Edit_SelectSquare_500", "Edit_SelectSquare", "500×500(&5)"},
    MenuPlace{"Edit_SelectSquare_600", "Edit_SelectSquare", "600×600(&6)"},
    MenuPlace{"Edit_SelectSquare_700", "Edit_SelectSquare", "700×700(&7)"},
    MenuPlace{"Edit_SelectSquare_800", "Edit_SelectSquare", "800×800(&8)"},
    MenuPlace{"Edit_CancelSelection", "Edit", "選択を解除(&D)", 'D'},
    MenuPlace{"View", "", "表示(&V)"},
    MenuPlace{"View_ImageWindow", "View", "画像ウィンドウ(&I)", 0, true},
    MenuPlace{"Tool", "", "ツール(&T)"},
    MenuPlace{"Tool_Option", "Tool", "オプション(&O)"},
    MenuPlace{"Help", "", "ヘルプ(&H)"},
    MenuPlace{"Help_ShowReadme", "Help", "Readme.txt を表示(&R)"},
    MenuPlace{"Help_Border", "Help", ""},
    MenuPlace{"Help_VersionInformation", "Help", "バージョン情報(&A)"},
};

constexpr WindowLayout Form1Window{"インクリレー", 305, 301, Form1Controls};
constexpr WindowLayout Dialog1Window{"インクリレーのバージョン情報", 289, 121, Dialog1Controls};
constexpr WindowLayout Dialog2Window{"オプション", 305, 257, Dialog2Controls};

}  // namespace

const WindowLayout& Form1Layout() {
    return Form1Window;
}

const WindowLayout& Dialog1Layout() {
    return Dialog1Window;
}

const WindowLayout& Dialog2Layout() {
    return Dialog2Window;
}

std::span<const MenuPlace> Form1Menus() {
    return Form1MenuTree;
}

const ControlPlace& PlaceOf(const WindowLayout& window, std::string_view name) {
    for (const ControlPlace& place : window.Controls)
        if (place.Name == name)
            return place;
    throw std::out_of_range("no control " + std::string(name) + " in " + std::string(window.Title));
}

const MenuPlace& MenuItemOf(std::string_view name) {
    for (const MenuPlace& item : Form1MenuTree)
        if (item.Name == name)
            return item;
    throw std::out_of_range("no menu item " + std::string(name));
}

}  // namespace inkrelay
