// zr470ctl --json as a script reads it: every command prints JSON that
// parses, one object a line, with the fields and types the man page gives.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "CtlMain.h"
#include "RoomFixture.h"

namespace fs = std::filesystem;

namespace {

// A field's type; Nullable: a number or null.
enum class Kind { Number, String, Bool, Array, Object, Null, Nullable, Any };
using Shape = std::map<std::string, Kind>;

bool Is(const QJsonValue& value, Kind kind)
{
    switch (kind) {
    case Kind::Number: return value.isDouble();
    case Kind::String: return value.isString();
    case Kind::Bool: return value.isBool();
    case Kind::Array: return value.isArray();
    case Kind::Object: return value.isObject();
    case Kind::Null: return value.isNull();
    case Kind::Nullable: return value.isNull() || value.isDouble();
    case Kind::Any: return !value.isUndefined();
    }
    return false;
}

// Exactly these fields, each of its kind.
void ExpectShape(const QJsonObject& object, const Shape& shape, const std::string& strWhat)
{
    EXPECT_EQ(static_cast<size_t>(object.size()), shape.size()) << strWhat << ": " << QJsonDocument(object).toJson().toStdString();
    for (const auto& [strKey, kind] : shape)
        EXPECT_TRUE(Is(object.value(QString::fromStdString(strKey)), kind)) << strWhat << ": field " << strKey;
}

const Shape kBand = {{"band", Kind::Number},   {"type", Kind::String},     {"freq_hz", Kind::Number},
                     {"gain_db", Kind::Number}, {"q", Kind::Nullable}, {"slope_db_oct", Kind::Nullable}};

}  // namespace

class CtlJsonTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(m_dir); }
    void TearDown() override { fs::remove_all(m_dir); }

    // The lines the command printed, each parsed as one JSON object.
    std::vector<QJsonObject> Json(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--device", "virtual", "--json"});
        std::ostringstream out;
        std::ostringstream err;
        const std::atomic<bool> bStop{false};
        EXPECT_EQ(RunCtl(args, nullptr, out, err, bStop), 0) << args[3] << ": " << err.str();
        std::vector<QJsonObject> objects;
        std::istringstream lines(out.str());
        for (std::string strLine; std::getline(lines, strLine);) {
            QJsonParseError error;
            const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(strLine), &error);
            EXPECT_EQ(error.error, QJsonParseError::NoError) << args[3] << ": " << strLine.substr(0, 200);
            EXPECT_TRUE(document.isObject()) << args[3];
            objects.push_back(document.object());
        }
        EXPECT_FALSE(objects.empty()) << args[3];
        return objects;
    }
    QJsonObject One(const std::vector<std::string>& args)
    {
        const std::vector<QJsonObject> objects = Json(args);
        EXPECT_EQ(objects.size(), 1u) << args[0];
        return objects.empty() ? QJsonObject() : objects.front();
    }
    std::string File(const char* pName) const { return (m_dir / pName).string(); }

    fs::path m_dir = fs::temp_directory_path() / ("zr470ctl-json-" + std::to_string(getpid()));
};

TEST_F(CtlJsonTest, EveryCommandPrintsTheDocumentedLayout)
{
    const QJsonObject info = One({"info"});
    ExpectShape(info, {{"identification", Kind::String}, {"variant", Kind::Number}, {"device", Kind::String},
                       {"scene", Kind::String}, {"programs", Kind::Array}, {"outputs", Kind::Array}},
                "info");
    ExpectShape(info["programs"].toArray()[0].toObject(), {{"number", Kind::Number}, {"name", Kind::String}},
                "info programs");
    ExpectShape(info["outputs"].toArray()[0].toObject(),
                {{"channel", Kind::Number}, {"name", Kind::String}, {"level", Kind::Number}, {"mute", Kind::Bool}},
                "info outputs");

    ExpectShape(One({"set", "1", "level", "-3"}),
                {{"channel", Kind::Number}, {"param", Kind::String}, {"value", Kind::Number}}, "set");
    ExpectShape(One({"get", "1", "mute"}), {{"channel", Kind::Number}, {"param", Kind::String}, {"value", Kind::Bool}},
                "get mute");
    ExpectShape(One({"get", "1", "hpf.type"}),
                {{"channel", Kind::Number}, {"param", Kind::String}, {"value", Kind::String}}, "get hpf.type");

    for (const auto& args : std::vector<std::vector<std::string>>{{"read-scene", File("a.ZR4C")},
                                                                  {"write-scene", File("a.ZR4C")},
                                                                  {"backup", File("b.ZR4AC")},
                                                                  {"restore", File("b.ZR4AC")}})
        ExpectShape(One(args), {{"file", Kind::String}}, args[0]);
    ExpectShape(One({"store", "2", "Hall"}), {{"program", Kind::Number}, {"name", Kind::String}}, "store");
    ExpectShape(One({"recall", "2"}), {{"program", Kind::Number}, {"name", Kind::String}}, "recall");
    ExpectShape(One({"delete", "2"}), {{"program", Kind::Number}, {"deleted", Kind::String}}, "delete");

    const QJsonObject response = One({"response", File("a.ZR4C"), "1"});
    ExpectShape(response, {{"channel", Kind::Number}, {"points", Kind::Array}}, "response");
    EXPECT_EQ(response["points"].toArray().size(), 241);
    EXPECT_TRUE(response["points"].toArray()[0].toArray()[1].isDouble());

    const QJsonObject imported = One({"eq-import", "1", RoomFixture("apo.txt"), "--link", "2"});
    ExpectShape(imported,
                {{"channel", Kind::Number}, {"mode", Kind::String}, {"bands", Kind::Array}, {"notes", Kind::Array},
                 {"linked", Kind::Array}, {"dry_run", Kind::Bool}},
                "eq-import");
    ExpectShape(imported["bands"].toArray()[0].toObject(), kBand, "eq-import band");
    const QJsonObject exported = One({"eq-export", "1"});
    ExpectShape(exported, {{"channel", Kind::Number}, {"format", Kind::String}, {"bands", Kind::Array}}, "eq-export");
    EXPECT_EQ(exported["bands"].toArray().size(), imported["bands"].toArray().size());
    ExpectShape(exported["bands"].toArray()[0].toObject(), kBand, "eq-export band");

    const QJsonObject fitted = One({"eq-fit", "1", RoomFixture("rew_measurement.txt"), "--dry-run"});
    ExpectShape(fitted,
                {{"bands", Kind::Array}, {"before_rms_db", Kind::Number}, {"after_rms_db", Kind::Number},
                 {"after_max_db", Kind::Number}, {"range_hz", Kind::Array}},
                "eq-fit");
    ExpectShape(fitted["bands"].toArray()[0].toObject(),
                {{"band", Kind::Number}, {"freq_hz", Kind::Number}, {"gain_db", Kind::Number}, {"bw_oct", Kind::Number},
                 {"q", Kind::Number}},
                "eq-fit band");

    const QJsonObject report = One({"report", "--from", File("a.ZR4C")});
    ExpectShape(report, {{"columns", Kind::Array}, {"rows", Kind::Array}}, "report");
    EXPECT_TRUE(report["rows"].toArray()[0].toArray()[0].isString());

    ExpectShape(One({"demo"}),
                {{"channel", Kind::Number}, {"settings", Kind::String}, {"frames", Kind::Array}, {"points", Kind::Array}},
                "demo");

    std::ofstream(File("script.txt")) << "get 1 level\nrecall 11\n";
    const std::vector<QJsonObject> lines = [&] {
        std::ostringstream out;
        std::ostringstream err;
        const std::atomic<bool> bStop{false};
        EXPECT_EQ(RunCtl({"--device", "virtual", "--json", "batch", File("script.txt"), "--keep-going"}, nullptr, out,
                         err, bStop),
                  1);
        std::vector<QJsonObject> objects;
        std::istringstream in(out.str());
        for (std::string strLine; std::getline(in, strLine);)
            objects.push_back(QJsonDocument::fromJson(QByteArray::fromStdString(strLine)).object());
        return objects;
    }();
    ASSERT_EQ(lines.size(), 2u);
    ExpectShape(lines[0], {{"line", Kind::Number}, {"exit", Kind::Number}, {"result", Kind::Object}, {"error", Kind::Null}},
                "batch line");
    ExpectShape(lines[1], {{"line", Kind::Number}, {"exit", Kind::Number}, {"result", Kind::Null}, {"error", Kind::String}},
                "batch failure");
}

TEST_F(CtlJsonTest, FirmwarePrintsItsProgressAndTheEnd)
{
    std::vector<uint8_t> file = {'W', 'M', 'C', 'U'};
    for (int i = 0; i < 4 + 96; ++i)
        file.push_back(static_cast<uint8_t>(i * 7 + 3));
    std::ofstream(File("fw.bin"), std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    const std::vector<QJsonObject> lines = Json({"firmware", File("fw.bin")});
    ASSERT_GE(lines.size(), 2u);
    for (size_t i = 0; i + 1 < lines.size(); ++i)
        ExpectShape(lines[i], {{"percent", Kind::Number}, {"status", Kind::String}}, "firmware progress");
    ExpectShape(lines.back(), {{"done", Kind::Bool}}, "firmware end");
}
