#pragma once
// A program that has loaded a first picture, for tests of what a later load keeps or replaces.

#include <gtest/gtest.h>

#include "app/picture_loading.h"
#include "test_pictures.h"
#include "test_program.h"

namespace inkrelay {

class PictureLoading : public testing::Test {
  protected:
    // A first picture with a selected range and a panned view, as a later load finds them.
    void LoadFirstPicture() {
        p.Ui.PictureFiles["/pictures/first.bmp"] = first;
        p.Ui.OpenAnswers.push_back("/pictures/first.bmp");
        File_Open_Click(p.Run);
        ASSERT_EQ(p.Ui.Messages.size(), 0u);
        AppState& s = *p.State;
        s.RangeSelected = true;
        s.Coords[Coord::RangeLeft] = 10;
        s.Coords[Coord::RangeTop] = 20;
        s.Coords[Coord::RangeRight] = 30;
        s.Coords[Coord::RangeBottom] = 40;
        s.Coords[Coord::ViewX] = 7;
        p.Ui.FocusCount = 0;
        p.Ui.ImageWindowShown = false;
    }

    void ExpectFirstPictureKept() {
        EXPECT_EQ(p.Image->WorkingPicture, first);
        EXPECT_TRUE(p.State->ImageLoaded);
        EXPECT_TRUE(p.State->RangeSelected);
        EXPECT_TRUE(p.Ui.ImageViewVisible);
        EXPECT_EQ(p.State->Coords[Coord::RangeLeft], 10);
        EXPECT_EQ(p.State->Coords[Coord::RangeBottom], 40);
        EXPECT_EQ(p.State->Coords[Coord::ViewX], 7);
        EXPECT_FALSE(p.Ui.ImageWindowShown);
        EXPECT_EQ(p.Ui.FocusCount, 0);
    }

    test::TestProgram p;
    Picture first = test::GradientPicture(640, 480);
};

}  // namespace inkrelay
