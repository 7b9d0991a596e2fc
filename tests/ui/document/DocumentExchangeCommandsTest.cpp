#include "CQuorvinDoc.h"
#include "DocumentContentEdit.h"
#include "ScriptedDocumentHost.h"
#include "TestFiles.h"
#include "XrfImport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const std::string kHeader = CrLfLines("[HEADER]", "IDENTIFICATION = CONFIGURATION_FILE_SPA_DPV1_V1", "VERSION = 2.00");
const std::string kUnitFile = CrLfLines("; Feeder.xrf", "[SPA_UNIT]", "1=5", "2=7", "[ANALOG_INPUT]",
                                        "\"Current\": 1.0I1/$", "[DIGITAL_OUTPUT]", "1.\"Open\": x 2.0O1 B");

SlaveAddressTable Slaves(std::initializer_list<int> addresses)
{
    SlaveAddressTable table = kNoSlaves;
    std::copy(addresses.begin(), addresses.end(), table.begin());
    return table;
}

// A document with slaves 5 and 9, one analog input each, not modified.
class DocumentExchangeTest : public ::testing::Test {
protected:
    DocumentExchangeTest() { AddSlaves(); }

    void AddSlaves()
    {
        for (int slave : {5, 9}) {
            AnalogInputPoint point;
            point.Description = "AI";
            point.SlaveAddress = slave;
            point.Address = "0I1";
            PrepareContent(*document_, [&point](DocumentContent& content) { content.Config.AnalogInputs.Append(point); });
        }
        ui_.Messages.clear();
    }

    std::string File(const std::string& name, const std::string& text)
    {
        WriteTextFile(directory_.File(name), text);
        return directory_.File(name);
    }

    TemporaryDirectory directory_;
    ScriptedDocumentHost ui_;
    std::unique_ptr<CQuorvinDoc> document_ = std::make_unique<CQuorvinDoc>(ui_, "halvex");
};

}  // namespace

TEST_F(DocumentExchangeTest, ExportCsvUsesTheDocumentsSeparators)
{
    ui_.ListSeparatorAnswer = ";";
    ui_.DecimalSeparatorAnswer = ",";
    document_ = std::make_unique<CQuorvinDoc>(ui_, "halvex");
    AddSlaves();
    ui_.Files = {std::nullopt, directory_.File("out.csv"), directory_.File("missing/out.csv")};
    document_->OnExportCsv();
    EXPECT_FALSE(std::filesystem::exists(directory_.File("out.csv")));
    EXPECT_EQ(ui_.FileRequests[0].Filter, "CSV File (*.csv)|*.csv||");
    EXPECT_EQ(ui_.FileRequests[0].DefaultExtension, "CSV");
    EXPECT_TRUE(ui_.FileRequests[0].ConfirmOverwrite);
    document_->OnExportCsv();
    EXPECT_NE(ReadTextFile(directory_.File("out.csv")).find("\r\n4;1;N;AI;5;0I1;1,000000;16;2\r\n"), std::string::npos);
    EXPECT_TRUE(ui_.Messages.empty());
    document_->OnExportCsv();
    EXPECT_EQ(ui_.Messages, std::vector{ErrorMessage("Error", "Error exporting file!")});
    EXPECT_FALSE(document_->IsModified());
}

TEST_F(DocumentExchangeTest, SlaveImportRebuildsTheSlavesAndMarksModified)
{
    document_->SelectSlave(5);
    ui_.Answers = {false};
    document_->OnSlaveImport();
    EXPECT_FALSE(document_->IsModified());
    EXPECT_EQ(ui_.UpdateAllViewsCalls, 0);

    ui_.Answers = {true, true};
    ui_.Files = {File("two.hxc", kHeader + CrLfLines("[ANALOG_INPUT]", "1,\tN,\t\"main\",\t3,\t0I1,\t1.0,\t16",
                                                    "1,\tN,\t\"other\",\t7,\t0I2,\t1.0,\t16"))};
    document_->OnSlaveImport();
    EXPECT_EQ(document_->UsedSlaves(), Slaves({5, 7, 9}));
    EXPECT_TRUE(document_->IsModified());
    EXPECT_EQ(ui_.UpdateAllViewsCalls, 1);

    // An empty template empties the slave, which stays only as an added slave.
    PrepareContent(*document_, [](DocumentContent& content) { content.AddedSlaves = Slaves({5}); });
    ui_.Answers = {true, true};
    ui_.Files = {File("empty.hxc", kHeader), File("empty.hxc", kHeader)};
    document_->OnSlaveImport();
    EXPECT_EQ(document_->UsedSlaves(), Slaves({5, 7, 9}));
    document_->SelectSlave(9);
    document_->OnSlaveImport();
    EXPECT_EQ(document_->UsedSlaves(), Slaves({5, 7}));
}

TEST_F(DocumentExchangeTest, XrfImportBuildsANewUntitledDocument)
{
    ui_.Files = {File("feeder.xrf", kUnitFile)};
    document_->OnImportXrf();
    EXPECT_EQ(ui_.FileRequests[0].Filter, "XRF File (*.xrf)|*.xrf||");
    EXPECT_EQ(ui_.FileRequests[0].DefaultExtension, "XRF");
    EXPECT_EQ(ui_.Titles.back(), "feeder.xrf");
    EXPECT_EQ(document_->PathName(), "");
    EXPECT_TRUE(document_->IsModified());
    EXPECT_EQ(document_->Config().TemplateName, " FEEDER");
    EXPECT_EQ(document_->UsedSlaves(), Slaves({5, 7}));
    EXPECT_TRUE(ui_.Messages.empty());

    // A cancelled dialog keeps the document.
    document_->OnImportXrf();
    EXPECT_EQ(document_->Title(), "feeder.xrf");
    EXPECT_EQ(document_->UsedSlaves(), Slaves({5, 7}));
    EXPECT_TRUE(document_->IsModified());
}

TEST_F(DocumentExchangeTest, XrfImportOfANamedFileAndItsFailures)
{
    document_->ImportXrfFile(File("feeder.xrf", kUnitFile));
    EXPECT_TRUE(ui_.FileRequests.empty());
    EXPECT_EQ(document_->Title(), "feeder.xrf");
    EXPECT_EQ(document_->UsedSlaves(), Slaves({5, 7}));

    // A file without any known section imports nothing and changes nothing.
    ui_.SaveChangesAnswers = {DocumentHost::SaveChangesAnswer::No};
    document_->ImportXrfFile(File("noise.xrf", "\x7f\x45LF\x02\x01\n\x01garbage\n"));
    EXPECT_EQ(ui_.Messages, std::vector{NoticeMessage(kNothingImportedMessage)});
    EXPECT_EQ(document_->Title(), "feeder.xrf");
    EXPECT_EQ(document_->UsedSlaves(), Slaves({5, 7}));
    EXPECT_EQ(document_->Config().AnalogInputs.Count(), 1);
    EXPECT_TRUE(document_->IsModified());
    ui_.Messages.clear();

    ui_.CommitFormResult = false;
    document_->ImportXrfFile(File("empty.xrf", ""));
    ui_.CommitFormResult = true;
    ui_.SaveChangesAnswers = {DocumentHost::SaveChangesAnswer::Cancel};
    document_->ImportXrfFile(File("empty.xrf", ""));
    EXPECT_EQ(document_->Title(), "feeder.xrf");
    EXPECT_TRUE(ui_.Messages.empty());

    // A file that cannot be imported keeps the document too.
    document_->ImportXrfFile(File("empty.xrf", ""));
    EXPECT_EQ(ui_.Messages, std::vector{ErrorMessage("Open error", "Error loading file!")});
    EXPECT_EQ(document_->Title(), "feeder.xrf");
    EXPECT_EQ(document_->UsedSlaves(), Slaves({5, 7}));
}
