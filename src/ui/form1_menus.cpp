#include <QMenu>
#include <QMenuBar>

#include "form1_controls.h"

namespace inkrelay::ui {

namespace {

QAction* AddItem(QMenu* menu, const QString& caption, const QKeySequence& shortcut = {}) {
    QAction* item = menu->addAction(caption);
    item->setShortcut(shortcut);
    return item;
}

}  // namespace

void BuildForm1Menus(QMenuBar* bar, Form1Controls& c) {
    c.File = bar->addMenu("ファイル(&F)");
    c.File_Open = AddItem(c.File, "開く(&O)", QKeySequence(Qt::CTRL | Qt::Key_O));
    c.File->addSeparator();
    c.File_Exit = AddItem(c.File, "インクリレーの終了(&X)");

    c.Edit = bar->addMenu("編集(&E)");
    c.Edit_Paste = AddItem(c.Edit, "貼り付け(&P)", QKeySequence(Qt::CTRL | Qt::Key_V));
    c.Edit->addSeparator();
    c.Edit_SelectAll = AddItem(c.Edit, "すべて選択(&A)", QKeySequence(Qt::CTRL | Qt::Key_A));
    c.Edit_SelectSquare = c.Edit->addMenu("正方形を選択(&S)");
    for (int i = 0; i < SquareSelectionCount; ++i) {
        const int side = (i + 1) * 100;
        c.Edit_SelectSquare_Sizes[i] =
            AddItem(c.Edit_SelectSquare, QString("%1\u00D7%1(&%2)").arg(side).arg(i + 1));
    }
    c.Edit_CancelSelection = AddItem(c.Edit, "選択を解除(&D)", QKeySequence(Qt::CTRL | Qt::Key_D));

    c.View = bar->addMenu("表示(&V)");
    c.View_ImageWindow = AddItem(c.View, "画像ウィンドウ(&I)");
    c.View_ImageWindow->setCheckable(true);

    c.Tool = bar->addMenu("ツール(&T)");
    c.Tool_Option = AddItem(c.Tool, "オプション(&O)");

    c.Help = bar->addMenu("ヘルプ(&H)");
    c.Help_ShowReadme = AddItem(c.Help, "Readme.txt を表示(&R)");
    c.Help->addSeparator();
    c.Help_VersionInformation = AddItem(c.Help, "バージョン情報(&A)");
}

}  // namespace inkrelay::ui
