#include <gtest/gtest.h>

#include "explorer/OpenDispatch.h"

using namespace pictra::explorer;

TEST(OpenDispatch, FilmsFlashOfficeSoundAndBinaries) {
    struct Case {
        std::string path;
        bool office;
        OpenAction expected;
    };
    const Case cases[] = {
        {"/d/urlaub.MP4", false, OpenAction::Film},
        {"/d/a.avi", false, OpenAction::Film},
        {"/d/a.mpeg", false, OpenAction::Film},
        {"/d/a.m4v", false, OpenAction::Film},
        {"/d/a.mov", false, OpenAction::Film},
        {"/d/a.wmv", false, OpenAction::Film},
        {"/d/a.flv", false, OpenAction::Film},
        {"/d/a.mkv", false, OpenAction::Film},
        {"/d/a.webm", false, OpenAction::Film},
        {"/d/a.ogv", false, OpenAction::Film},
        {"/d/spiel.swf", false, OpenAction::Flash},
        {"/d/brief.doc", true, OpenAction::Office},
        {"/d/brief.docx", true, OpenAction::Office},
        {"/d/tabelle.ods", true, OpenAction::Office},
        {"/d/brief.doc", false, OpenAction::Associated},
        // ".doc" in a folder name says nothing about the file.
        {"/home/anna/docs.2024/brief.txt", true, OpenAction::Document},
        {"/home/anna/x.doc/brief.txt", true, OpenAction::Document},
        {"/d/lied.wav", true, OpenAction::Sound},
        {"/d/programm.exe", true, OpenAction::Associated},
        {"/d/film.mp4.txt", false, OpenAction::Document},
    };
    for (const auto& c : cases) {
        OpenRequest request{c.path, "Hallo", true, false, false};
        request.officeProgram = c.office;
        EXPECT_EQ(dispatchOpen(request), c.expected) << c.path;
    }
}
