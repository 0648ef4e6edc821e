#include "ComponentHarness.h"

#include "filters/FFRun.h"
#include "filters/MakeComponent.h"
#include "raster/Buffer.h"

#include <dlfcn.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace comptest;

namespace {

QString Runner() {
    return makecomp::RunnerPath(QString::fromStdString(BuildDir()));
}

FilterSource Filter(const char* red, const char* green, const char* blue, const char* title) {
    FilterSource s;
    s.channels = {QString::fromLatin1(red), QString::fromLatin1(green), QString::fromLatin1(blue)};
    s.title = QString::fromLatin1(title);
    s.names[2] = QStringLiteral("Lift, more");
    s.ctl[2] = 40;
    s.ctl[5] = 7; // unnamed: fixed at its value
    return s;
}

// The program's own run of the filter over the whole picture.
std::vector<uint32_t> ProgramRun(const FilterSource& s, Picture& p, std::array<int32_t, 8> ctl) {
    std::array<std::string, 3> texts;
    for (int c = 0; c < 3; ++c) texts[c] = s.channels[c].toStdString();
    const ff::CompiledFilter compiled = ff::CompileAll({texts[0], texts[1], texts[2]});
    std::vector<uint32_t> out(p.src.size());
    // Buffers over the vectors: the filter code reads and writes through them.
    Buffer source, dest;
    source.pixels = p.src.data();
    dest.pixels = out.data();
    for (Buffer* b : {&source, &dest}) {
        b->stride = p.w;
        b->right = p.w - 1;
        b->bottom = p.h - 1;
    }
    ff::FilterRun(compiled, source, ctl).Rows(dest, 0, p.h);
    return out;
}

TEST(MakeComponent, TheMadeComponentRunsTheFilterAsTheProgramDoes) {
    QTemporaryDir dir;
    const FilterSource filters[] = {
        Filter("255-r", "g/2+ctl(2)", "src(x+1,y-1,0)^ctl(5)", "Inverted"),
        Filter("put(get(0)+r,0)%256", "rnd(0,ctl(2))*0", "x*255/X", "Ordered"), // put: row order
    };
    for (const FilterSource& filter : filters) {
        const QString path = dir.filePath(filter.title + QStringLiteral(".ovc"));
        ASSERT_TRUE(makecomp::Make(Runner(), path, filter));
        Library lib(path.toStdString());
        ASSERT_TRUE(lib.Ok()) << dlerror();
        EXPECT_TRUE(lib.fromGetDesc);
        EXPECT_EQ(Key(lib.desc, "Ver="), "1.5");
        EXPECT_EQ(Key(lib.desc, "Name="), filter.title.toStdString());
        EXPECT_EQ(Key(lib.desc, "Par1="), "S,Lift  more,0,255,40");
        EXPECT_EQ(Key(lib.desc, "Par2="), "");
        for (const auto& size : {std::pair{1, 1}, std::pair{7, 3}, std::pair{33, 9}}) {
            for (int32_t lift : {40, 200}) {
                Picture p(size.first, size.second, 4);
                std::array<int32_t, 8> ctl = filter.ctl;
                ctl[2] = lift;
                Drive(lib, Env(p), Pack({lift}));
                EXPECT_EQ(p.dst, ProgramRun(filter, p, ctl))
                    << filter.title.toStdString() << " " << size.first << "x" << size.second;
            }
        }
    }
}

TEST(MakeComponent, TwoMadeComponentsLoadedTogetherKeepTheirOwnFilters) {
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a.ovc")),
                  b = dir.filePath(QStringLiteral("b.ovc"));
    ASSERT_TRUE(makecomp::Make(Runner(), a, Filter("0", "0", "0", "Black")));
    ASSERT_TRUE(makecomp::Make(Runner(), b, Filter("255", "255", "255", "White")));
    Library first(a.toStdString()), second(b.toStdString());
    ASSERT_TRUE(first.Ok() && second.Ok());
    EXPECT_EQ(Key(first.desc, "Name="), "Black");
    EXPECT_EQ(Key(second.desc, "Name="), "White");
    Picture p(7, 3);
    Drive(first, Env(p), {});
    EXPECT_EQ(p.Dst(3, 1), 0u);
    Drive(second, Env(p), {});
    EXPECT_EQ(p.Dst(3, 1), 0xFFFFFFu);
}

TEST(MakeComponent, TheRunnerAloneIsNoComponentAndFailuresLeaveTheTargetAlone) {
    Library runner(Runner().toStdString());
    ASSERT_TRUE(runner.Ok());
    EXPECT_EQ(Key(runner.desc, "Ver="), ""); // rejected by the scan
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("kept.ovc"));
    QFile kept(target);
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
    kept.write("old");
    kept.close();
    const FilterSource s = Filter("r", "g", "b", "T");
    EXPECT_FALSE(makecomp::Make(dir.filePath(QStringLiteral("missing.ovc")), target, s));
    EXPECT_FALSE(makecomp::Make(Runner(), dir.filePath(QStringLiteral("no/such/x.ovc")), s));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("old"));
}

TEST(MakeComponent, FilterTextsCannotStandInForTheProgramsKeys) {
    FilterSource s = Filter("r", "g", "b", "Title\rIcon=evil\rVer=9");
    s.author = QStringLiteral("Opt=\nHelp=x,1");
    const std::string d = makecomp::Descriptor(s);
    EXPECT_EQ(Key(d, "Ver="), "1.5");
    EXPECT_EQ(Key(d, "Icon="), "");
    EXPECT_EQ(Key(d, "Opt="), "WP");
    EXPECT_EQ(Key(d, "Name="), "Title Icon=evil Ver=9");
}

TEST(MakeComponent, AttachedSourceRoundTripsAndDamagedTrailersAreRefused) {
    QTemporaryDir dir;
    const FilterSource s = Filter("r+1", "g", "b", "Round");
    const QByteArray made = makecomp::Attach(QByteArray("\x7f"
                                                        "ELF runner bytes"),
                                             s);
    const struct {
        const char* name;
        QByteArray bytes;
        bool reads;
    } cases[] = {
        {"whole", made, true},
        {"cut", made.left(made.size() - 1), false},
        {"short", made.right(10), false},
        {"length too large",
         made.left(made.size() - 16) + QByteArray("\xff\xff\xff\xff\xff\xff\xff\x7f", 8) +
             "OVFFSRC1",
         false},
    };
    for (const auto& c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.bytes);
        f.close();
        const std::optional<FilterSource> read = makecomp::ReadAttached(path);
        EXPECT_EQ(read.has_value(), c.reads) << c.name;
        if (read) {
            EXPECT_EQ(read->channels[0], QStringLiteral("r+1"));
        }
    }
}

} // namespace
