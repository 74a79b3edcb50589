#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>

#include "core/fault_report.h"
#include "core/startup.h"
#include "core/system_ini.h"
#include "media/media.h"
#include "support/test_support.h"
#include "world/world.h"

namespace {

fault_context division_context(int count) {
    fault_context c;
    c.description = "Attempted division by zero";
    c.code = 8;
    c.address = 4198400;
    c.module = "Main Module";
    c.line = 77;
    c.last_error = "";
    c.fault_count = count;
    return c;
}

class FaultReport : public ::testing::Test {
protected:
    void SetUp() override {
        init_globals();
        faults_silent = false;
        fault_count = 0;
        setenv("TZ", "UTC", 1);
        cfg_logpath = folder.path() + "/";
        cfg_logfile = "fault.log";
    }
    temp_folder folder;
};

}  // namespace

TEST_F(FaultReport, LinesForAGivenContext) {
    dimension = 3;
    view_x = 4.6f;
    view_y = 0.2f;
    level_last_x = 40;
    level_last_y = 41;
    screen_width = 1024.0f;
    screen_height = 767.6f;
    set_fake_desktop(1920, 1080);
    std::vector<std::string> lines = fault_report_lines(division_context(1), 59999);
    set_fake_desktop(0, 0);
    ASSERT_EQ(lines.size(), 17u);   // no operating-system line on this system
    EXPECT_EQ(lines[0], "MATRIX ENGINE ERROR AND WARNING LOG:");
    EXPECT_TRUE(lines[1].rfind("DATESTAMP:", 0) == 0);
    EXPECT_NE(lines[1].find(" TIMESTAMP:"), std::string::npos);
    EXPECT_EQ(lines[1].size(), std::string("DATESTAMP:07/12/2026 TIMESTAMP:01:02:03").size());
    EXPECT_EQ(lines[2], "MAP_ID:3");
    EXPECT_EQ(lines[3], "ERROR TYPE:Attempted division by zero  ERR8");
    EXPECT_EQ(lines[4], "MODULE:Main Module");
    EXPECT_EQ(lines[5], "AT LINE:77");
    EXPECT_EQ(lines[6], "LIB:");
    EXPECT_EQ(lines[7], "ERROR ADDRESS: 4198400");
    EXPECT_EQ(lines[8], "ENGINE INTERNALS:");
    EXPECT_EQ(lines[9], "ACTUAL POSX:0  ACTUAL POSY:0");
    EXPECT_EQ(lines[10], "OFFSET X:5  OFFSET Y:0");
    EXPECT_EQ(lines[11], "max X:40   max Y:41");
    EXPECT_EQ(lines[12], "SYSTEM DESKTOP:   WIDTH:1920   HEIGHT:1080");
    EXPECT_EQ(lines[13], "ENGINE (SCREEN)WINDOW WIDTH:1024   HEIGHT:768");
    EXPECT_EQ(lines[14], "TOTAL ERRORS/WARNINGS FROM START:1");
    EXPECT_EQ(lines[15], "ENGINE UPTIME (SINGLE SESSION) MINUTES:0  SEC:59");
    EXPECT_EQ(lines[16], std::string(60, '*'));
    EXPECT_EQ(fault_report_lines(division_context(1), 60000)[15],
              "ENGINE UPTIME (SINGLE SESSION) MINUTES:1  SEC:0");
    EXPECT_EQ(fault_report_lines(division_context(1), 3725000)[15],
              "ENGINE UPTIME (SINGLE SESSION) MINUTES:62  SEC:5");
}

TEST_F(FaultReport, TwoDivisionsAnsweredYesAppendTwoReports) {
    cfg_uselogfile = 1;
    folder.write("fault.log", "older line\r\n");
    set_message_box_answer(answer_yes);
    report_fault(division_context(1));
    report_fault(division_context(2));
    std::string log = folder.read("fault.log");
    EXPECT_EQ(log.rfind("older line\r\nMATRIX ENGINE ERROR AND WARNING LOG:\r\n", 0), 0u);
    EXPECT_NE(log.find("TOTAL ERRORS/WARNINGS FROM START:1\r\n"), std::string::npos);
    EXPECT_NE(log.find("TOTAL ERRORS/WARNINGS FROM START:2\r\n"), std::string::npos);
    size_t first = log.find("MATRIX ENGINE");
    EXPECT_NE(log.find("MATRIX ENGINE", first + 1), std::string::npos);
    EXPECT_EQ(log.substr(log.size() - 62), std::string(60, '*') + "\r\n");
    EXPECT_FALSE(faults_silent);
}

TEST_F(FaultReport, LogOffMeansSilentAndNoFile) {
    cfg_uselogfile = 0;
    report_fault(division_context(1));
    EXPECT_TRUE(faults_silent);
    EXPECT_EQ(file_size(folder.path() + "/fault.log"), -1);
}

TEST_F(FaultReport, OtherFaultsAreReportedOnceThenSilent) {
    cfg_uselogfile = 1;
    fault_context access = division_context(1);
    access.description = "Access violation";
    report_fault(access);
    EXPECT_TRUE(faults_silent);
    EXPECT_NE(folder.read("fault.log").find("ERROR TYPE:Access violation"), std::string::npos);
}

TEST_F(FaultReport, UnopenableLogStillAsks) {
    cfg_uselogfile = 1;
    cfg_logpath = folder.path() + "/no/such/folder/";
    set_message_box_answer(answer_yes);
    report_fault(division_context(1));   // Yes: returns
    EXPECT_FALSE(faults_silent);
    EXPECT_EXIT(
        {
            set_message_box_answer(answer_no);
            report_fault(division_context(1));
            std::exit(9);
        },
        ::testing::ExitedWithCode(0), "continue engine\\?");
}

// A folder where the log should be, or a log of any size: the report goes to
// the log's end or nowhere, and the question is asked either way.
TEST_F(FaultReport, ALogThatIsAFolderOrHugeTakesTheReportAtItsEndOrNotAtAll) {
    cfg_uselogfile = 1;
    set_message_box_answer(answer_yes);
    folder.write("fault.log/inside", "kept");
    report_fault(division_context(1));
    EXPECT_FALSE(faults_silent);
    EXPECT_EQ(folder.read("fault.log/inside"), "kept");

    cfg_logfile = "huge.log";
    const std::string log = folder.write("huge.log", "");
    const long long size = text_file_limit + 100;
    ASSERT_EQ(truncate(log.c_str(), size), 0);
    report_fault(division_context(2));
    const std::string text = folder.read("huge.log");
    ASSERT_GT(text.size(), size_t(size));
    EXPECT_EQ(text.find_first_not_of('\0'), size_t(size)) << "the old bytes stay as they were";
    EXPECT_EQ(text.substr(size_t(size), 38), "MATRIX ENGINE ERROR AND WARNING LOG:\r\n");
}

using FaultReportDeathTest = FaultReport;

TEST_F(FaultReportDeathTest, RealDivisionByZeroWritesTheLogAndEndsOnNo) {
    cfg_uselogfile = 1;
    EXPECT_EXIT(
        {
            set_message_box_answer(answer_no);
            install_fault_handler();
            divide_for_real(1, 0);
            std::exit(9);
        },
        ::testing::ExitedWithCode(0), "division by zero. please read logfile:");
    std::string log = folder.read("fault.log");
    EXPECT_NE(log.find("ERROR TYPE:Attempted division by zero  ERR"), std::string::npos);
    EXPECT_NE(log.find("TOTAL ERRORS/WARNINGS FROM START:1\r\n"), std::string::npos);
}

TEST_F(FaultReportDeathTest, DivisionAnsweredYesResumesAtTheNextFrame) {
    cfg_uselogfile = 1;
    EXPECT_EXIT(
        {
            set_message_box_answer(answer_yes);
            install_fault_handler();
            volatile int passes = 0;
            if (sigsetjmp(frame_resume, 1) != 0 && passes == 2) std::exit(5);
            frame_resume_armed = true;
            passes = passes + 1;
            divide_for_real(1, 0);
            std::exit(9);
        },
        ::testing::ExitedWithCode(5), "");
    std::string log = folder.read("fault.log");
    EXPECT_NE(log.find("TOTAL ERRORS/WARNINGS FROM START:2\r\n"), std::string::npos);
}

TEST_F(FaultReportDeathTest, SilentDivisionResumesWithoutReport) {
    cfg_uselogfile = 0;
    EXPECT_EXIT(
        {
            install_fault_handler();
            volatile int passes = 0;
            if (sigsetjmp(frame_resume, 1) != 0 && passes == 3) std::exit(faults_silent ? 6 : 1);
            frame_resume_armed = true;
            passes = passes + 1;
            divide_for_real(1, 0);
            std::exit(9);
        },
        ::testing::ExitedWithCode(6), "");
    EXPECT_EQ(file_size(folder.path() + "/fault.log"), -1);
}

TEST_F(FaultReportDeathTest, AccessViolationIsReportedAndEndsTheProgram) {
    cfg_uselogfile = 1;
    EXPECT_EXIT(
        {
            install_fault_handler();
            store_through_null();
            std::exit(9);
        },
        ::testing::KilledBySignal(SIGSEGV), "");
    EXPECT_NE(folder.read("fault.log").find("ERROR TYPE:Access violation"), std::string::npos);
}

TEST(Errors, MessagesAndEffects) {
    init_globals();
    ini_path = "/some where\\DATA\\ini.txt";
    EXPECT_EXIT(raise_error(0), ::testing::ExitedWithCode(0),
                "Could not open /some where\\\\DATA\\\\ini.txt");
    EXPECT_EXIT((raise_error(4), std::exit(9)), ::testing::ExitedWithCode(0),
                " Could not open window");
    EXPECT_EXIT((raise_error(2), std::exit(9)), ::testing::ExitedWithCode(0),
                " Could not open screen");
    cfg_selfcreatebase = "/b\\base.txt";
    EXPECT_EXIT((raise_error(8), std::exit(9)), ::testing::ExitedWithCode(0),
                " Could not open:/b\\\\base.txt");
    EXPECT_EXIT((raise_error(7), std::exit(9)), ::testing::ExitedWithCode(0),
                " Could not open topographic data");
    EXPECT_EXIT((raise_error(1), std::exit(4)), ::testing::ExitedWithCode(4),
                "Could not create multithreading");
    raise_error(3);
    raise_error(99);
    raise_error(13);
    EXPECT_EQ(status_text, " CAN NOT CREATE PROFILE INFORMATION|");
    set_message_box_answer(answer_yes);
    cfg_multicore = 1;
    raise_error(16);
    EXPECT_EQ(cfg_multicore, 0);
    EXPECT_EXIT((set_message_box_answer(answer_no), raise_error(16), std::exit(9)),
                ::testing::ExitedWithCode(0), "do you want to try serial computing");
}
