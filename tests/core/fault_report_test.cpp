// The fault report: its lines, the log it goes to, and real faults caught.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "core/fault_report.h"
#include "core/startup.h"
#include "core/system_ini.h"
#include "media/media.h"
#include "support/test_support.h"
#include "world/world.h"

namespace {

fault_context division(int count, const char* description = "Attempted division by zero") {
    fault_context c;
    c.description = description;
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
        cfg_uselogfile = 1;
    }
    std::string log() const { return folder.read("fault.log"); }
    temp_folder folder;
};

using FaultReportDeathTest = FaultReport;

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
    std::vector<std::string> lines = fault_report_lines(division(1), 59999);
    set_fake_desktop(0, 0);
    ASSERT_EQ(lines.size(), 17u);   // no operating-system line on this system
    EXPECT_EQ(lines[0], "MATRIX ENGINE ERROR AND WARNING LOG:");
    EXPECT_TRUE(lines[1].starts_with("DATESTAMP:")) << lines[1];
    EXPECT_NE(lines[1].find(" TIMESTAMP:"), std::string::npos);
    EXPECT_EQ(lines[1].size(), std::string("DATESTAMP:07/12/2026 TIMESTAMP:01:02:03").size());
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 2, lines.end()),
              (std::vector<std::string>{"MAP_ID:3", "ERROR TYPE:Attempted division by zero  ERR8", "MODULE:Main Module",
                                        "AT LINE:77", "LIB:", "ERROR ADDRESS: 4198400", "ENGINE INTERNALS:",
                                        "ACTUAL POSX:0  ACTUAL POSY:0", "OFFSET X:5  OFFSET Y:0", "max X:40   max Y:41",
                                        "SYSTEM DESKTOP:   WIDTH:1920   HEIGHT:1080",
                                        "ENGINE (SCREEN)WINDOW WIDTH:1024   HEIGHT:768",
                                        "TOTAL ERRORS/WARNINGS FROM START:1",
                                        "ENGINE UPTIME (SINGLE SESSION) MINUTES:0  SEC:59", std::string(60, '*')}));
    EXPECT_EQ(fault_report_lines(division(1), 60000)[15], "ENGINE UPTIME (SINGLE SESSION) MINUTES:1  SEC:0");
    EXPECT_EQ(fault_report_lines(division(1), 3725000)[15], "ENGINE UPTIME (SINGLE SESSION) MINUTES:62  SEC:5");
}

TEST_F(FaultReport, TwoDivisionsAnsweredYesAppendTwoReports) {
    folder.write("fault.log", "older line\r\n");
    set_message_box_answer(answer_yes);
    report_fault(division(1));
    report_fault(division(2));
    const std::string text = log();
    EXPECT_TRUE(text.starts_with("older line\r\nMATRIX ENGINE ERROR AND WARNING LOG:\r\n")) << text;
    EXPECT_NE(text.find("TOTAL ERRORS/WARNINGS FROM START:1\r\n"), std::string::npos);
    EXPECT_NE(text.find("TOTAL ERRORS/WARNINGS FROM START:2\r\n"), std::string::npos);
    EXPECT_NE(text.find("MATRIX ENGINE", text.find("MATRIX ENGINE") + 1), std::string::npos);
    EXPECT_TRUE(text.ends_with(std::string(60, '*') + "\r\n"));
    EXPECT_FALSE(faults_silent);
}

TEST_F(FaultReport, OtherFaultsAreReportedOnceThenSilent) {
    report_fault(division(1, "Access violation"));
    EXPECT_TRUE(faults_silent);
    EXPECT_NE(log().find("ERROR TYPE:Access violation"), std::string::npos);
}

// A log that cannot be opened, is a folder or is huge: the report goes to the
// log's end or nowhere, and the question is asked either way.
TEST_F(FaultReport, ALogThatCannotBeOpenedIsAFolderOrIsHugeStillAsks) {
    set_message_box_answer(answer_yes);
    folder.write("fault.log/inside", "kept");
    report_fault(division(1));
    EXPECT_FALSE(faults_silent);
    EXPECT_EQ(folder.read("fault.log/inside"), "kept");

    cfg_logfile = "huge.log";
    const std::string huge = folder.write("huge.log", "");
    const long long size = text_file_limit + 100;
    ASSERT_EQ(truncate(huge.c_str(), size), 0);
    report_fault(division(2));
    const std::string text = folder.read("huge.log");
    ASSERT_GT(text.size(), size_t(size));
    EXPECT_EQ(text.find_first_not_of('\0'), size_t(size)) << "the old bytes stay as they were";
    EXPECT_EQ(text.substr(size_t(size), 38), "MATRIX ENGINE ERROR AND WARNING LOG:\r\n");

    cfg_logpath = folder.path() + "/no/such/folder/";
    report_fault(division(3));   // Yes: returns
    EXPECT_FALSE(faults_silent);
    EXPECT_EXIT((set_message_box_answer(answer_no), report_fault(division(1)), std::exit(9)),
                ::testing::ExitedWithCode(0), "continue engine\\?");
}

TEST_F(FaultReportDeathTest, RealDivisionByZeroWritesTheLogAndEndsOnNo) {
    EXPECT_EXIT((set_message_box_answer(answer_no), install_fault_handler(), divide_for_real(1, 0), std::exit(9)),
                ::testing::ExitedWithCode(0), "division by zero. please read logfile:");
    EXPECT_NE(log().find("ERROR TYPE:Attempted division by zero  ERR"), std::string::npos);
    EXPECT_NE(log().find("TOTAL ERRORS/WARNINGS FROM START:1\r\n"), std::string::npos);
}

// Divides by zero until the handler has resumed `resumes` times; ends with 6 if silent, else 5.
void divide_and_resume(int resumes) {
    set_message_box_answer(answer_yes);
    install_fault_handler();
    volatile int passes = 0;
    if (sigsetjmp(frame_resume, 1) != 0 && passes == resumes) std::exit(faults_silent ? 6 : 5);
    frame_resume_armed = true;
    passes = passes + 1;
    divide_for_real(1, 0);
    std::exit(9);
}

// Answered Yes, or with the log off (silent, no report), a division resumes at the next frame.
TEST_F(FaultReportDeathTest, ADivisionAnsweredYesOrSilentResumesAtTheNextFrame) {
    EXPECT_EXIT(divide_and_resume(2), ::testing::ExitedWithCode(5), "");
    EXPECT_NE(log().find("TOTAL ERRORS/WARNINGS FROM START:2\r\n"), std::string::npos);
    cfg_uselogfile = 0;
    std::remove((folder.path() + "/fault.log").c_str());
    EXPECT_EXIT(divide_and_resume(3), ::testing::ExitedWithCode(6), "");
    EXPECT_EQ(file_size(folder.path() + "/fault.log"), -1) << "no report while silent";
}

TEST_F(FaultReportDeathTest, AccessViolationIsReportedAndEndsTheProgram) {
    EXPECT_EXIT((install_fault_handler(), store_through_null(), std::exit(9)), ::testing::KilledBySignal(SIGSEGV), "");
    EXPECT_NE(log().find("ERROR TYPE:Access violation"), std::string::npos);
}

TEST(Errors, MessagesAndEffects) {
    init_globals();
    ini_path = "/some where\\DATA\\ini.txt";
    cfg_selfcreatebase = "/b\\base.txt";
    const struct { int code; const char* message; int exit_code; } ending[] = {
        {0, "Could not open /some where\\\\DATA\\\\ini.txt", 0}, {4, " Could not open window", 0},
        {2, " Could not open screen", 0}, {8, " Could not open:/b\\\\base.txt", 0},
        {7, " Could not open topographic data", 0}, {1, "Could not create multithreading", 4}};
    for (const auto& e : ending)
        EXPECT_EXIT((raise_error(e.code), std::exit(4)), ::testing::ExitedWithCode(e.exit_code), e.message) << e.code;
    for (int code : {3, 99, 13}) raise_error(code);
    EXPECT_EQ(status_text, " CAN NOT CREATE PROFILE INFORMATION|");
    set_message_box_answer(answer_yes);
    cfg_multicore = 1;
    raise_error(16);
    EXPECT_EQ(cfg_multicore, 0);
    EXPECT_EXIT((set_message_box_answer(answer_no), raise_error(16), std::exit(9)), ::testing::ExitedWithCode(0),
                "do you want to try serial computing");
}
