// tests/test_layout.cpp - where the main window's controls stand.
#include <gtest/gtest.h>

#include "../app/resource.h"
#include "../browser/layout.h"

static ControlPlace PlaceOf(const MainLayout &layout, int id)
{
    for (const ControlPlace &place : layout.place)
        if (place.id == id)
            return place;
    ADD_FAILURE() << "no place for control " << id;
    return ControlPlace{};
}

static void ExpectPlace(const MainLayout &layout, int id, int x, int y, int width, int height)
{
    const ControlPlace place = PlaceOf(layout, id);
    EXPECT_EQ(place.x, x) << id;
    EXPECT_EQ(place.y, y) << id;
    EXPECT_EQ(place.width, width) << id;
    EXPECT_EQ(place.height, height) << id;
}

TEST(MainLayout, ClientAreaOf400By300)
{
    const MainLayout layout = ComputeMainLayout(400, 300);
    ExpectPlace(layout, IDC_FILE_LIST, 3, 27, 394, 270);
    ExpectPlace(layout, IDC_PATH_LABEL, 3, 3, 295, 21);
    ExpectPlace(layout, IDC_REFRESH, 375, 3, 21, 21);
    ExpectPlace(layout, IDC_UPLOAD, 350, 3, 21, 21);
    ExpectPlace(layout, IDC_NEW_FOLDER, 325, 3, 21, 21);
    ExpectPlace(layout, IDC_DELETE, 300, 3, 21, 21);
}

TEST(MainLayout, MovesTheListFirstAndEveryControlOnce)
{
    const MainLayout layout = ComputeMainLayout(400, 300);
    const int expectedOrder[] = {IDC_FILE_LIST, IDC_PATH_LABEL, IDC_REFRESH, IDC_UPLOAD, IDC_NEW_FOLDER, IDC_DELETE};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(layout.place[i].id, expectedOrder[i]);
}

TEST(MainLayout, TinyAreasPassNegativeSizesUnclamped)
{
    const MainLayout minimised = ComputeMainLayout(0, 0);
    ExpectPlace(minimised, IDC_FILE_LIST, 3, 27, -6, -30);
    ExpectPlace(minimised, IDC_PATH_LABEL, 3, 3, -105, 21);
    ExpectPlace(minimised, IDC_DELETE, -100, 3, 21, 21);
    ExpectPlace(ComputeMainLayout(104, 29), IDC_PATH_LABEL, 3, 3, -1, 21);
}
