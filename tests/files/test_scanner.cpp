#include "files/ClipboardDib.h"
#include "files/Scanner.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

// SANE's test backend as the only device: a configuration folder whose dll.conf names it.
class TestScanner : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = std::make_unique<QTemporaryDir>();
        QFile conf(folder_->filePath(QStringLiteral("dll.conf")));
        ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
        conf.write("test\n");
        conf.close();
        qputenv("SANE_CONFIG_DIR", folder_->path().toUtf8());
        session_ = std::make_unique<ScannerSession>();
    }
    static void TearDownTestSuite() {
        session_.reset();
        folder_.reset();
        qunsetenv("SANE_CONFIG_DIR");
    }

    static std::unique_ptr<QTemporaryDir> folder_;
    static std::unique_ptr<ScannerSession> session_;
};
std::unique_ptr<QTemporaryDir> TestScanner::folder_;
std::unique_ptr<ScannerSession> TestScanner::session_;

// SANE's own front end scans the same picture: the independent expectation, as 0x00RRGGBB rows.
bool ReferenceScan(const std::vector<ScanOption>& options, Buffer& out) {
    const QString scanimage = QStandardPaths::findExecutable(QStringLiteral("scanimage"));
    if (scanimage.isEmpty()) return false;
    QStringList args{QStringLiteral("-d"), QStringLiteral("test:0"),
                     QStringLiteral("--format=pnm")};
    for (const auto& [name, value] : options)
        args << QStringLiteral("--%1=%2").arg(QString::fromUtf8(name), QString::fromUtf8(value));
    QProcess p;
    p.start(scanimage, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return false;
    const QByteArray pnm = p.readAllStandardOutput();
    // "P4|P5|P6\nW H\n[max\n]" then the samples.
    QList<QByteArray> fields;
    qsizetype at = 0;
    const int wanted = pnm.startsWith("P4") ? 3 : 4;
    while (fields.size() < wanted && at < pnm.size()) {
        while (at < pnm.size() && QByteArray(" \t\r\n").contains(pnm[at])) ++at;
        if (pnm[at] == '#') {
            while (at < pnm.size() && pnm[at] != '\n') ++at;
            continue;
        }
        const qsizetype start = at;
        while (at < pnm.size() && !QByteArray(" \t\r\n").contains(pnm[at])) ++at;
        fields << pnm.mid(start, at - start);
    }
    ++at;
    const int w = fields[1].toInt(), h = fields[2].toInt();
    const int max = wanted == 4 ? fields[3].toInt() : 1;
    if (!out.Alloc({w, h})) return false;
    const auto* d = reinterpret_cast<const uint8_t*>(pnm.constData() + at);
    const int sample = max > 255 ? 2 : 1; // big-endian: the high byte first
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t v = 0;
            if (fields[0] == "P4") {
                v = (d[size_t(y) * ((w + 7) / 8) + x / 8] >> (7 - x % 8)) & 1 ? 0 : 0xFFFFFF;
            } else if (fields[0] == "P5") {
                const uint32_t g = d[(size_t(y) * w + x) * sample];
                v = g << 16 | g << 8 | g;
            } else {
                const uint8_t* px = d + (size_t(y) * w + x) * 3 * sample;
                v = uint32_t(px[0]) << 16 | uint32_t(px[sample]) << 8 | px[2 * sample];
            }
            out.At(x, y) = v;
        }
    return true;
}

using Options = std::vector<ScanOption>;

// The backend's built-in resolution (without its test.conf) is a fraction of a dot per inch.
Options With(Options extra) {
    Options o{{"read-return-value", "Default"}, {"hand-scanner", "no"}, {"resolution", "50"}};
    o.insert(o.end(), extra.begin(), extra.end());
    return o;
}

} // namespace

TEST_F(TestScanner, TheTestDeviceIsListed) {
    ASSERT_TRUE(session_->Initialised());
    const std::vector<ScanDevice> devices = session_->Devices();
    ASSERT_FALSE(devices.empty());
    EXPECT_EQ(devices.front().name, QStringLiteral("test:0"));
}

TEST_F(TestScanner, ScansMatchSanesOwnFrontEnd) {
    struct Case {
        const char* name;
        Options options;
    };
    const Case cases[] = {
        {"grey grid", With({{"mode", "Gray"}, {"depth", "8"}, {"test-picture", "Grid"}})},
        {"16-bit grey grid", With({{"mode", "Gray"}, {"depth", "16"}, {"test-picture", "Grid"}})},
        {"line art grid", With({{"mode", "Gray"}, {"depth", "1"}, {"test-picture", "Grid"}})},
        {"colour pattern", With({{"mode", "Color"},
                                 {"depth", "8"},
                                 {"three-pass", "no"},
                                 {"test-picture", "Color pattern"}})},
        {"three-pass colour pattern", With({{"mode", "Color"},
                                            {"depth", "8"},
                                            {"three-pass", "yes"},
                                            {"test-picture", "Color pattern"}})},
        {"hand scanner",
         {{"read-return-value", "Default"},
          {"resolution", "50"},
          {"mode", "Gray"},
          {"depth", "8"},
          {"test-picture", "Grid"},
          {"hand-scanner", "yes"}}},
    };
    for (const Case& c : cases) {
        QByteArray packed;
        ASSERT_EQ(session_->Acquire(QStringLiteral("test:0"), c.options, packed), ScanResult::Ok)
            << c.name;
        Buffer got, want;
        ASSERT_EQ(
            ImportDib({reinterpret_cast<const uint8_t*>(packed.constData()), size_t(packed.size())},
                      got),
            DibImport::Ok)
            << c.name;
        if (!ReferenceScan(c.options, want)) GTEST_SKIP() << "scanimage (sane-utils) is missing";
        ASSERT_EQ(got.Width(), want.Width()) << c.name;
        ASSERT_EQ(got.Height(), want.Height()) << c.name;
        int bad = 0;
        for (int y = 0; y < got.Height() && bad < 3; ++y)
            for (int x = 0; x < got.Width() && bad < 3; ++x)
                if (got.At(x, y) != want.At(x, y)) {
                    ADD_FAILURE() << c.name << " at " << x << "," << y << ": " << std::hex
                                  << got.At(x, y) << " want " << want.At(x, y);
                    ++bad;
                }
    }
}

TEST_F(TestScanner, DeviceFailuresAreErrors) {
    struct Case {
        const char* name;
        QString device;
        Options options;
    };
    const Case cases[] = {
        {"paper jam", QStringLiteral("test:0"),
         With({{"mode", "Gray"}, {"read-return-value", "SANE_STATUS_JAMMED"}})},
        {"input error", QStringLiteral("test:0"),
         With({{"mode", "Gray"}, {"read-return-value", "SANE_STATUS_IO_ERROR"}})},
        {"unknown option", QStringLiteral("test:0"), With({{"no-such-option", "1"}})},
        {"no such device", QStringLiteral("nothing:0"), {}},
    };
    for (const Case& c : cases) {
        QByteArray packed;
        EXPECT_EQ(session_->Acquire(c.device, c.options, packed), ScanResult::DeviceError)
            << c.name;
    }
    QByteArray packed; // and the device works again afterwards
    EXPECT_EQ(session_->Acquire(QStringLiteral("test:0"), With({{"mode", "Gray"}}), packed),
              ScanResult::Ok);
}
