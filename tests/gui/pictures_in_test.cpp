// Pictures into the image window from files of each format, the display that shows them, the
// range commands and a mouse drag on the display.

#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdlib>

#include "app/range_commands.h"
#include "form2.h"
#include "gui_fixture.h"
#include "picture_display.h"
#include "tiny_gif.h"

namespace inkrelay::test {
namespace {

QImage TestImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, 90));
    }
    return image;
}

uint32_t Bgr(QRgb c) {
    return static_cast<uint32_t>(qRed(c)) | static_cast<uint32_t>(qGreen(c)) << 8 |
           static_cast<uint32_t>(qBlue(c)) << 16;
}

int ChannelDistance(uint32_t a, uint32_t b) {
    int worst = 0;
    for (int shift = 0; shift < 24; shift += 8)
        worst = std::max(worst, std::abs(static_cast<int>(a >> shift & 0xFF) -
                                         static_cast<int>(b >> shift & 0xFF)));
    return worst;
}

class PicturesInTest : public GuiTest {
  protected:
    void SetUp() override { ASSERT_EQ(Launch(), std::nullopt); }

    // The open command with the dialog answered by path; failing, it answers the message box.
    void Open(const std::string& path, bool expectMessage = false) {
        Modals.WithDialog<QFileDialog>([path](QFileDialog& dialog) {
            dialog.selectFile(QString::fromStdString(path));
            static_cast<QDialog&>(dialog).accept();  // QFileDialog::accept, virtually
        });
        if (expectMessage)
            Modals.AnswerBox(QMessageBox::Ok);
        C().File_Open->trigger();
        QCoreApplication::processEvents();
        EXPECT_EQ(Modals.PendingSteps(), 0u);
    }

    void OpenSaved(const QImage& image, const std::string& name, const char* format) {
        const std::string path = (Folder / name).string();
        ASSERT_TRUE(image.save(QString::fromStdString(path), format));
        Open(path);
    }

    const Picture& Working() { return App().Image().WorkingPicture; }
    ui::PictureDisplay& Display() { return App().ImageWindow().Display(); }

    // Moves go straight to the display: the offscreen platform has no pointer of its own.
    void MoveOnDisplay(QPoint at, Qt::MouseButtons held) {
        QMouseEvent move(QEvent::MouseMove, QPointF(at), Display().mapToGlobal(QPointF(at)),
                         Qt::NoButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(&Display(), &move);
    }
    int16_t Slot(int slot) { return State().Coords[slot]; }
};

TEST_F(PicturesInTest, bmpAndPngLoadExactlyAndShowTheImageWindowWithTheDisplay) {
    const QImage image = TestImage(64, 48);
    for (const auto& [name, format] : {std::pair{"a.bmp", "BMP"}, std::pair{"b.png", "PNG"}}) {
        SCOPED_TRACE(name);
        OpenSaved(image, name, format);
        ASSERT_EQ(Working().Width(), 64);
        ASSERT_EQ(Working().Height(), 48);
        for (const QPoint at : {QPoint(0, 0), QPoint(63, 0), QPoint(17, 29), QPoint(63, 47)})
            EXPECT_EQ(Working().PixelAt(at.x(), at.y()), Bgr(image.pixel(at)));
        EXPECT_TRUE(State().ImageLoaded);
        ASSERT_NE(App().LoadedImageWindow(), nullptr);
        EXPECT_TRUE(App().LoadedImageWindow()->isVisible());
        EXPECT_TRUE(C().View_ImageWindow->isChecked());
        EXPECT_TRUE(Display().isVisible());
        EXPECT_EQ(Display().size(), QSize(66, 50));
        const QSize client = App().LoadedImageWindow()->size();
        EXPECT_EQ(Display().pos(), QPoint((client.width() - 66) / 2, (client.height() - 50) / 2));
        ASSERT_EQ(Display().Surface().size(), QSize(64, 48));
        EXPECT_EQ(Display().Surface().pixel(17, 29) & 0xFFFFFF, image.pixel(17, 29) & 0xFFFFFF);
        EXPECT_EQ(Utf8(C().Text1->text()), "(---,---)");
        EXPECT_TRUE(C().Edit_SelectAll->isEnabled());
    }
}

TEST_F(PicturesInTest, theDialogListsTheSixTypesInJapaneseFirstOneChosenAndCancelChangesNothing) {
    std::vector<std::string> shown;
    QString chosen, firstFilter, cancel;
    Modals.WithDialog<QFileDialog>([&](QFileDialog& dialog) {
        const auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
        for (int k = 0; types != nullptr && k < types->count(); ++k)
            shown.push_back(Utf8(types->itemText(k)));
        chosen = dialog.selectedNameFilter();
        firstFilter = dialog.nameFilters().value(0);
        if (const auto* buttons = dialog.findChild<QDialogButtonBox*>())
            cancel = buttons->button(QDialogButtonBox::Cancel)->text();
        dialog.reject();
    });
    C().File_Open->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(shown, (std::vector<std::string>{"すべてのピクチャ ファイル",
                                               "ビットマップ ファイル (*.bmp)",
                                               "JPEG (*.JPG;*.JPEG;*.JPE;*.JFIF)", "GIF (*.GIF)",
                                               "PNG (*.PNG)", "すべてのファイル"}));
    EXPECT_EQ(Utf8(firstFilter),
              "すべてのピクチャ ファイル (*.bmp *.jpg *.jpeg *.jpe *.jfif *.gif *.png)");
    EXPECT_EQ(Utf8(chosen), shown.front());
    EXPECT_EQ(Utf8(cancel), "キャンセル");
    EXPECT_FALSE(State().ImageLoaded);
    EXPECT_EQ(App().LoadedImageWindow(), nullptr);
    EXPECT_TRUE(Modals.Boxes().empty());
}

TEST_F(PicturesInTest, jpegLoadsApproximatelyAndGifExactly) {
    const QImage image = TestImage(40, 30);
    OpenSaved(image, "c.jpg", "JPG");
    ASSERT_EQ(Working().Width(), 40);
    ASSERT_EQ(Working().Height(), 30);
    for (const QPoint at : {QPoint(5, 5), QPoint(20, 15), QPoint(35, 25)})
        EXPECT_LE(ChannelDistance(Working().PixelAt(at.x(), at.y()), Bgr(image.pixel(at))), 24);

    const std::string gif = (Folder / "d.gif").string();
    WriteFile(gif, TinyGif());
    Open(gif);
    ASSERT_EQ(Working().Width(), 2);
    ASSERT_EQ(Working().Height(), 1);
    EXPECT_EQ(Working().PixelAt(0, 0), 0x0000FFu);
    EXPECT_EQ(Working().PixelAt(1, 0), 0xFF0000u);
}

TEST_F(PicturesInTest, aDamagedFileIsReportedAndThePreviousPictureStays) {
    OpenSaved(TestImage(20, 10), "good.bmp", "BMP");
    ASSERT_EQ(Working().Width(), 20);
    const std::string broken = (Folder / "broken.bmp").string();
    WriteFile(broken, "BM this is not a bitmap");
    Open(broken, true);
    ASSERT_EQ(Modals.Boxes().size(), 1u);
    EXPECT_EQ(Utf8(Modals.Boxes()[0].Text), "ピクチャが不正です。(481)");
    EXPECT_EQ(Working().Width(), 20);
    EXPECT_TRUE(State().ImageLoaded);
}

TEST_F(PicturesInTest, theRangeCommandsSetTheReadouts) {
    OpenSaved(TestImage(640, 480), "e.bmp", "BMP");
    C().Edit_SelectAll->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(Utf8(C().Text1->text()), "(0,0)");
    EXPECT_EQ(Utf8(C().Text2->text()), "(639,479)");
    EXPECT_EQ(Utf8(C().StatusPanel1->text()), "選択範囲のサイズ:(640,480)");

    OpenSaved(TestImage(500, 300), "f.bmp", "BMP");
    C().Edit_SelectSquare_Sizes[7]->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(Utf8(C().Text2->text()), "(499,299)");
    EXPECT_TRUE(State().RangeSelected);

    C().Edit_CancelSelection->trigger();
    QCoreApplication::processEvents();
    EXPECT_FALSE(State().RangeSelected);
    EXPECT_EQ(Utf8(C().Text1->text()), "(---,---)");
    EXPECT_EQ(Utf8(C().Text2->text()), "(---,---)");
    // The display's focus on showing turns the cancelled range into no range.
    QCoreApplication::processEvents();
    EXPECT_EQ(Slot(Coord::RangeRight), 0);
    EXPECT_EQ(Slot(Coord::RangeBottom), 0);
}

TEST_F(PicturesInTest, aLeftDragAcrossThePictureEdgeMakesARange) {
    OpenSaved(TestImage(300, 200), "g.bmp", "BMP");
    ui::PictureDisplay& display = Display();
    // Widget points are one frame pixel off the display's client points.
    MoveOnDisplay(QPoint(51, 41), Qt::NoButton);
    QTest::mousePress(&display, Qt::LeftButton, {}, QPoint(51, 41));
    MoveOnDisplay(QPoint(-29, -19), Qt::LeftButton);
    EXPECT_TRUE(State().RangeDragging);
    EXPECT_EQ(Utf8(C().Text1->text()), "(50,40)");
    EXPECT_EQ(Utf8(C().Text2->text()), "(0,0)");
    EXPECT_EQ(Utf8(C().StatusPanel1->text()), "選択範囲のサイズ:(51,41)");
    QTest::mouseRelease(&display, Qt::LeftButton, {}, QPoint(-29, -19));
    EXPECT_TRUE(State().RangeSelected);
    EXPECT_EQ(Utf8(C().Text1->text()), "(0,0)");
    EXPECT_EQ(Utf8(C().Text2->text()), "(50,40)");
    // The display shows the outline, inverted over the picture.
    const QRgb shown = display.Surface().pixel(50, 20);
    const uint32_t image = Working().ImagePixelAt(50, 20);
    EXPECT_EQ(Bgr(shown), image ^ 0xFFFFFFu);
    EXPECT_EQ(display.cursor().shape(), Qt::ArrowCursor);
    MoveOnDisplay(QPoint(26, 21), Qt::NoButton);
    EXPECT_EQ(display.cursor().shape(), Qt::SizeAllCursor);
}

TEST_F(PicturesInTest, aPasteTakesTheClipboardsImageAndAnEmptyClipboardIsReported) {
    Modals.AnswerBox(QMessageBox::Ok);
    Main().Edit_Paste_Click();
    QCoreApplication::processEvents();
    ASSERT_EQ(Modals.Boxes().size(), 1u);
    EXPECT_EQ(Utf8(Modals.Boxes()[0].Text), "クリップボードのデータ形式が不正です。(460)");
    EXPECT_FALSE(State().ImageLoaded);

    const QImage image = TestImage(30, 20);
    QGuiApplication::clipboard()->clear();
    QCoreApplication::processEvents();
    ASSERT_FALSE(C().Edit_Paste->isEnabled());
    // Ctrl+V works as soon as a picture is copied, before the Edit menu was ever opened.
    QGuiApplication::clipboard()->setImage(image);
    QCoreApplication::processEvents();
    ASSERT_TRUE(C().Edit_Paste->isEnabled());
    C().Edit_Paste->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(Modals.Boxes().size(), 1u);
    ASSERT_EQ(Working().Width(), 30);
    ASSERT_EQ(Working().Height(), 20);
    EXPECT_EQ(Working().PixelAt(12, 7), Bgr(image.pixel(12, 7)));
    EXPECT_TRUE(State().ImageLoaded);
    EXPECT_TRUE(Display().isVisible());
}

TEST_F(PicturesInTest, theRightButtonPansAPictureLargerThanTheWindow) {
    const QSize client = App().ImageWindow().size();
    OpenSaved(TestImage(client.width() + 300, client.height() + 200), "h.bmp", "BMP");
    ui::PictureDisplay& display = Display();
    ASSERT_EQ(display.geometry(), QRect(QPoint(0, 0), client));
    QTest::mousePress(&display, Qt::RightButton, {}, QPoint(200, 150));
    EXPECT_EQ(display.cursor().shape(), Qt::SizeAllCursor);
    MoveOnDisplay(QPoint(150, 110), Qt::RightButton);
    EXPECT_EQ(Slot(Coord::ViewX), 50);
    EXPECT_EQ(Slot(Coord::ViewY), 40);
    EXPECT_EQ(Bgr(display.Surface().pixel(0, 0)), Working().PixelAt(50, 40));
    MoveOnDisplay(QPoint(-4000, -4000), Qt::RightButton);
    EXPECT_EQ(Slot(Coord::ViewX), 302);
    EXPECT_EQ(Slot(Coord::ViewY), 202);
    QTest::mouseRelease(&display, Qt::RightButton, {}, QPoint(-4000, -4000));
    EXPECT_EQ(display.cursor().shape(), Qt::ArrowCursor);
}

}  // namespace
}  // namespace inkrelay::test
