// Undo and redo through the entry points a person uses: each command family
// steps back to the exact bytes and pixels it started from and forward to
// what it made; long random runs agree with the states they passed through.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <functional>
#include <random>

#include "editor/tools/Tools.h"
#include "formats/WorkFormat.h"
#include "raster/BitmapFile.h"
#include "support/FakeUi.h"
#include "text/ShiftJis.h"

namespace {

// Everything a step must bring back: the work file as it would be saved,
// the surface, the under-drawing's file, the flags and the command states.
struct Look {
    QByteArray work;
    std::vector<uint8_t> pixels;
    QByteArray picture;
    std::vector<int> flags;
    std::vector<Rec> points, kinds;
    bool operator==(const Look&) const = default;
};

const Cmd kWatched[] = {Cmd::ReMakeLine, Cmd::SpRemake,     Cmd::ZoneArrange, Cmd::BMPmonotone,
                        Cmd::BMPexpand,  Cmd::BMPclear,     Cmd::WriteMap,    Cmd::BuildMode,
                        Cmd::EditMode,   Cmd::LineKindMode, Cmd::CuttingMode, Cmd::PickUpMode};

struct Env {
    TestEditor t{200, 160};
    Editor& ed = t.ed;
    const Store& st = t.st();
    FakeUi& ui = t.ui;

    Env() {
        // Two rooms side by side, named and placed, drawn as the editor would.
        for (auto pts :
             {std::vector<std::pair<int, int>>{
                  {10, 10}, {60, 10}, {110, 10}, {110, 60}, {60, 60}, {10, 60}, {10, 10}},
              std::vector<std::pair<int, int>>{{60, 10}, {60, 35}, {60, 60}}}) {
            EditMap(t.ed, [&](Store& s_) {
                for (auto [x, y] : pts) s_.AppendPoint(int16_t(x), int16_t(y));
                s_.AppendPoint(0, 0);
            });
        }
        EditMap(t.ed, [&](Store& s_) {
            s_.AreaCount = 2;
            s_.SetAreaName(1, sjis::FromUnicode(QStringLiteral("左")));
            s_.SetAreaName(2, sjis::FromUnicode(QStringLiteral("右")));
            s_.AreaPos(0, 1) = {35, 35};
            s_.AreaPos(0, 2) = {85, 35};
        });
        ed.states.InitCommandStates();
        ed.states.EnableRemakeCommands();
        ed.states.EnableAreaPosCommands();
        ed.modeCommands.BuildModeClick();
        ReDraw(ed.bench);
        ui.pointerOverSurface = SurfaceCursor::CrossLine;
    }
    void Do(Cmd c) { ed.Command(c); }
    void Click(int x, int y, Qt::MouseButton b = Qt::LeftButton) {
        ed.MouseDown(b, x, y);
        ed.MouseUp(b, x, y);
    }
    void Drag(QPoint from, QPoint to) {
        ed.MouseDown(Qt::LeftButton, from.x(), from.y());
        ed.MouseMove((from.x() + to.x()) / 2, (from.y() + to.y()) / 2);
        ed.MouseMove(to.x(), to.y());
        ed.MouseUp(Qt::LeftButton, to.x(), to.y());
    }
    QString Picture() {
        QImage img(120, 90, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        p.setPen(Qt::black);
        p.drawLine(5, 5, 100, 80);
        p.drawEllipse(30, 20, 40, 30);
        p.end();
        const QString path = t.Path("scan.bmp");
        QString error;
        EXPECT_TRUE(WriteBitmapFile(img, path, &error)) << error.toStdString();
        return path;
    }
    void LoadPicture() {
        ui.files.push_back(Picture());
        ui.answers.push_back(false);  // keep the traced lines
        Do(Cmd::LoadBMP);
        ASSERT_TRUE(st.BasePicLoaded);
    }
    Look Now() {
        Look l;
        QBuffer b(&l.work);
        b.open(QIODevice::WriteOnly);
        WriteWork(b, st, st.BasePicLoaded ? "scan.bmp" : "0");
        l.pixels.assign(ed.surf.Data(),
                        ed.surf.Data() + size_t(ed.surf.Width()) * size_t(ed.surf.Height()));
        QFile f(ed.temps.picture);
        if (f.open(QIODevice::ReadOnly)) l.picture = f.readAll();
        l.points = st.PointsToVector();
        l.kinds = st.KindsToVector();
        l.flags = {st.Modified,     st.Completed, st.Composed,     st.BasePicLoaded,
                   st.BasePicShown, int(st.Mode), ed.surf.Width(), ed.surf.Height()};
        for (Cmd c : kWatched) l.flags.push_back(ui.Enabled(c) * 2 + ui.Checked(c));
        return l;
    }
};

struct Family {
    const char* name;
    std::function<void(Env&)> setUp, act;
};

const std::vector<Family>& Families() {
    static const std::vector<Family> list = {
        {"click adds a point", {}, [](Env& e) { e.Click(150, 100); }},
        {"key adds a point",
         {},
         [](Env& e) {
             e.ui.pointer = e.ui.SurfaceToScreen({150, 120});
             e.ed.KeyDown(vk::Return, Qt::NoModifier, Qt::NoButton);
         }},
        // A right click only offers the popup (flags and item states): the
        // step is the item chosen, and undo returns to the offer.
        {"input popup: one back",
         [](Env& e) {
             e.Click(150, 100);
             e.Click(170, 120);
             e.Click(170, 120, Qt::RightButton);
         },
         [](Env& e) { e.Do(Cmd::WrongPoint); }},
        {"input popup: join the start",
         [](Env& e) {
             e.Click(150, 100);
             e.Click(170, 120);
             e.Click(130, 140);
         },
         [](Env& e) { e.Do(Cmd::ConnectStartPoint); }},
        {"drag a point", [](Env& e) { e.Do(Cmd::EditMode); },
         [](Env& e) {
             e.Drag({110, 60}, {130, 80});
         }},
        {"edit popup: delete a point",
         [](Env& e) {
             e.Do(Cmd::EditMode);
             e.Click(60, 35, Qt::RightButton);
         },
         [](Env& e) { e.Do(Cmd::DelPoint); }},
        {"edit popup: delete a run",
         [](Env& e) {
             e.Do(Cmd::EditMode);
             e.Click(60, 20, Qt::RightButton);
         },
         [](Env& e) { e.Do(Cmd::DelLine); }},
        {"line kind",
         [](Env& e) {
             e.Do(Cmd::LineKindMode);
             e.Click(60, 20, Qt::RightButton);
         },
         [](Env& e) { e.Do(Cmd::SecLine); }},
        {"trimming", [](Env& e) { e.Do(Cmd::CuttingMode); },
         [](Env& e) {
             for (QPoint p : {QPoint(5, 5), QPoint(80, 5), QPoint(80, 70), QPoint(5, 70)})
                 e.Click(p.x(), p.y());
             e.Do(Cmd::SweepCutting);
         }},
        {"move and scale",
         {},
         [](Env& e) {
             e.ui.onMoveMapDialog = [](MoveFields& f) {
                 f.dx = "7";
                 f.dy = "3";
                 return true;
             };
             e.Do(Cmd::MoveMap);
         }},
        {"area names",
         {},
         [](Env& e) {
             e.ui.onEditAreaNames = [](const QString&, bool* changed) {
                 *changed = true;
                 return QStringLiteral("左\r\n右\r\n中");
             };
             e.Do(Cmd::AreaNameEdit);
         }},
        {"area positions",
         {},
         [](Env& e) {
             e.Do(Cmd::ZoneArrange);
             e.Click(30, 50);
             e.ed.areaPositions.ZpotClose();
         }},
        {"legend",
         {},
         [](Env& e) {
             e.Do(Cmd::IndexPos);
             e.Click(120, 100);
         }},
        {"composition", {}, [](Env& e) { e.Do(Cmd::ReMakeLine); }},
        {"jigsaw drop",
         [](Env& e) {
             e.Do(Cmd::ReMakeLine);
             e.Do(Cmd::PickUpMode);
         },
         [](Env& e) {
             e.Drag({30, 30}, {45, 40});
         }},
        {"picture load", {}, [](Env& e) { e.LoadPicture(); }},
        {"picture paste",
         {},
         [](Env& e) {
             e.ui.clipboard = QImage(e.Picture());
             e.Do(Cmd::BMPpaste);
         }},
        {"picture monochrome", [](Env& e) { e.LoadPicture(); },
         [](Env& e) {
             e.ui.color = qRgb(255, 0, 0);
             e.Do(Cmd::BMPmonotone);
         }},
        {"picture enlarge", [](Env& e) { e.LoadPicture(); }, [](Env& e) { e.Do(Cmd::BMPexpand); }},
        {"picture clear", [](Env& e) { e.LoadPicture(); }, [](Env& e) { e.Do(Cmd::BMPclear); }},
    };
    return list;
}

TEST(Undo, EveryCommandFamilyStepsBackAndForwardToTheExactBytesAndPixels) {
    for (const Family& f : Families()) {
        SCOPED_TRACE(f.name);
        Env e;
        if (f.setUp) f.setUp(e);
        const Look before = e.Now();
        f.act(e);
        const Look after = e.Now();
        ASSERT_FALSE(after == before) << "the command changed nothing";
        ASSERT_TRUE(e.ui.Enabled(Cmd::Undo));
        e.Do(Cmd::Undo);
        EXPECT_TRUE(e.Now() == before);
        EXPECT_TRUE(e.ui.Enabled(Cmd::Redo));
        e.Do(Cmd::Redo);
        EXPECT_TRUE(e.Now() == after);
        EXPECT_FALSE(e.ui.Enabled(Cmd::Redo));
    }
}

// After another file is opened or a new work begun, no step may bring the
// map that went back under the new file's name, where the next save would
// write it over that file.
TEST(Undo, AnotherFileOrANewWorkStartsAHistoryOfItsOwn) {
    const std::vector<std::pair<const char*, std::function<void(Env&)>>> opens = {
        {"new work", [](Env& e) { e.Do(Cmd::NewWork); }},
        {"work file",
         [](Env& e) {
             e.ui.files.push_back(e.t.Path("w.vlm"));
             e.Do(Cmd::LoadWork);
         }},
        {"finished map",
         [](Env& e) {
             e.ui.files.push_back(e.t.Path("map.idt"));
             e.Do(Cmd::ReadMap);
         }},
        {"work file named from outside", [](Env& e) { e.ed.OpenByContent(e.t.Path("w.vlm")); }},
    };
    for (const auto& [name, open] : opens) {
        SCOPED_TRACE(name);
        Env e;
        e.Do(Cmd::IndexPos);
        e.Click(150, 120);
        e.Do(Cmd::ReMakeLine);
        e.ui.files.push_back(e.t.Path("map.idt"));
        e.Do(Cmd::WriteMap);
        e.ui.files.push_back(e.t.Path("w.vlm"));
        e.Do(Cmd::SaveWork);
        ASSERT_TRUE(QFile::exists(e.t.Path("w.vlm")) && QFile::exists(e.t.Path("map.idt")));
        e.Do(Cmd::BuildMode);
        e.Click(150, 100);  // a step of the old map's, not saved
        e.ui.saveChoices.assign(4, SaveChoice::Discard);  // let the unsaved change go
        open(e);
        ASSERT_TRUE(e.ui.saveChoices.size() < 4u);
        const Look opened = e.Now();
        EXPECT_FALSE(e.ui.Enabled(Cmd::Undo));
        e.Do(Cmd::Undo);
        EXPECT_TRUE(e.Now() == opened);
        e.Click(20, 140);
        EXPECT_TRUE(e.ui.Enabled(Cmd::Undo));
        e.Do(Cmd::Undo);
        EXPECT_TRUE(e.Now() == opened);
        EXPECT_FALSE(e.ui.Enabled(Cmd::Undo));
    }
}

// The modified mark says whether the map differs from the file: stepping
// back onto the saved state clears it, stepping off it sets it.
TEST(Undo, TheModifiedMarkFollowsTheHistory) {
    Env e;
    e.Click(150, 100);
    e.ui.files.push_back(e.t.Path("w.vlm"));
    e.Do(Cmd::SaveWork);
    ASSERT_FALSE(e.st.Modified);
    e.Click(150, 130);
    ASSERT_TRUE(e.st.Modified);
    const std::pair<Cmd, bool> steps[] = {{Cmd::Undo, false}, {Cmd::Undo, true},
                                          {Cmd::Redo, false}, {Cmd::Redo, true},
                                          {Cmd::Undo, false}};
    for (auto [c, modified] : steps) {
        e.Do(c);
        EXPECT_EQ(e.st.Modified, modified);
    }
}

TEST(Undo, AGestureUnderWayIsTakenBackFirstAndTheDialogHoldsUndoOff) {
    Env e;
    e.Click(150, 100);  // one step to keep
    e.Do(Cmd::CuttingMode);
    const Look before = e.Now();
    e.Click(5, 5);
    e.Click(80, 5);
    ASSERT_EQ(e.ed.modes.tools->trimming.TempPolyLast, 1);
    e.Do(Cmd::Undo);  // the corners go, the point stays
    EXPECT_EQ(e.ed.modes.tools->trimming.TempPolyLast, -1);
    EXPECT_TRUE(e.Now() == before);
    EXPECT_EQ(e.st.PointLast, 13);

    e.Do(Cmd::ZoneArrange);
    EXPECT_FALSE(e.ui.Enabled(Cmd::Undo));
    e.Do(Cmd::Undo);
    EXPECT_EQ(e.st.Mode, Mode::AreaPosition);
    EXPECT_EQ(e.st.PointLast, 13);
    e.ed.areaPositions.ZpotClose();
    EXPECT_TRUE(e.ui.Enabled(Cmd::Undo));
}

TEST(Undo, AClickRepaintsOnlyWhatItChanged) {
    Env e;
    e.ui.regions.clear();
    const int full = e.ui.surfaceChanges;
    e.Click(150, 100);
    ASSERT_EQ(e.ui.regions.size(), 1u);
    const QRect r = e.ui.regions.back();
    EXPECT_TRUE(r.contains(150, 100));
    EXPECT_LT(r.width() * r.height(), 200 * 160 / 4);
    EXPECT_EQ(e.ui.surfaceChanges - full, 1);
}

// Random runs of clicks, popups, drags, mode switches, undos and redos,
// checked against the states the run itself recorded.
TEST(Undo, RandomRunsAgreeWithTheStatesTheyPassed) {
    for (unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        Env e;
        std::mt19937 rng(seed);
        auto pick = [&](int n) { return int(rng() % unsigned(n)); };
        std::vector<Look> states{e.Now()};
        size_t cur = 0;
        for (int step = 0; step < 150; ++step) {
            const int what = pick(10);
            if (what == 0) {
                e.Do(Cmd::Undo);
                if (cur > 0) --cur;
                ASSERT_TRUE(e.Now() == states[cur]) << "undo at " << step;
                continue;
            }
            if (what == 1) {
                e.Do(Cmd::Redo);
                if (cur + 1 < states.size()) ++cur;
                ASSERT_TRUE(e.Now() == states[cur]) << "redo at " << step;
                continue;
            }
            const QPoint p(1 + pick(190), pick(150));
            if (what == 2) {
                e.Do(e.st.Mode == Mode::Input ? Cmd::EditMode : Cmd::BuildMode);
            } else if (e.st.Mode == Mode::Input) {
                if (what < 7)
                    e.Click(p.x(), p.y());
                else
                    e.Do(std::array{Cmd::WrongPoint, Cmd::CutLine, Cmd::LastPoint}[pick(3)]);
            } else if (e.st.PointLast > 1) {
                const int32_t i = 1 + pick(e.st.PointLast);
                const Rec r = e.st.Point(i);
                if (r.x == 0) continue;
                if (what < 7) {
                    e.Drag({r.x, r.y}, p);
                } else {
                    e.Click(r.x, r.y, Qt::RightButton);
                    e.Do(Cmd::DelPoint);
                }
            }
            const Look now = e.Now();
            // A change of the map makes a step; flags and mode alone do not.
            if (now.points != states[cur].points || now.kinds != states[cur].kinds) {
                states.resize(cur + 1);
                states.push_back(now);
                ++cur;
            } else {
                states[cur] = now;
            }
        }
        while (cur > 0) {
            e.Do(Cmd::Undo);
            ASSERT_TRUE(e.Now() == states[--cur]);
        }
    }
}

TEST(Undo, AStepCostsWhatItTouchedAndTheOldestGoFirst) {
    Env e;
    std::vector<Rec> many(400000, Rec{20, 20});
    for (size_t i = 0; i < many.size(); ++i) many[i] = {int16_t(1 + i % 150), int16_t(i % 140)};
    many[0] = {};
    ASSERT_TRUE(e.ed.doc.ReplacePoints(many));
    e.ed.doc.AppendPoint(0, 0);
    e.Click(150, 100);  // takes in the big map as a step
    const History& h = e.ed.doc.Steps();
    const size_t base = h.Bytes();
    for (int i = 0; i < 20; ++i) e.Click(100 + i, 120);
    // A click copies the last page of the list and a tile or so of the surface.
    EXPECT_LT((h.Bytes() - base) / 20, size_t(200 * 1024));
    EXPECT_EQ(e.st.PointLast, 400021);

    const size_t limit = h.Bytes() - 5 * (h.Bytes() - base) / 20;
    e.ed.doc.Steps().SetLimit(limit);
    e.Click(100, 140);
    EXPECT_LE(h.Bytes(), limit);
    int undone = 0;
    while (e.ui.Enabled(Cmd::Undo)) {
        e.Do(Cmd::Undo);
        ++undone;
    }
    EXPECT_GE(undone, 10);
    EXPECT_LT(undone, 20);
    EXPECT_EQ(e.st.PointLast, 400022 - undone);
}

}  // namespace
