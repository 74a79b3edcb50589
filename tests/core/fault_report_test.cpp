// The fault report: its lines, the log it goes to, and real faults caught.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "core/configuration.h"
#include "core/fault_report.h"
#include "core/machine.h"
#include "game/startup.h"
#include "media/media.h"
#include "support/test_support.h"
#include "world/level_state.h"
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
    EXPECT_EQ(lines[1].size(), std::string("DATESTAMP:07/12/2026 TIMESTAMP:01:02:03").size()) << lines[1];
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 2, lines.end()),
              (std::vector<std::string>{"MAP_ID:3", "ERROR TYPE:Attempted division by zero  ERR8", "MODULE:Main Module",
                                        "AT LINE:77", "LIB:", "ERROR ADDRESS: 4198400", "ENGINE INTERNALS:",
                                        "ACTUAL POSX:0  ACTUAL POSY:0", "OFFSET X:5  OFFSET Y:0", "max X:40   max Y:41",
                                        "SYSTEM DESKTOP:   WIDTH:1920   HEIGHT:1080",
                                        "ENGINE (SCREEN)WINDOW WIDTH:1024   HEIGHT:768",
                                        "TOTAL ERRORS/WARNINGS FROM START:1",
                                        "ENGINE UPTIME (SINGLE SESSION) MINUTES:0  SEC:59", std::string(60, '*')}));
    EXPECT_EQ(fault_report_lines(division(1), 60000)[15], "ENGINE UPTIME (SINGLE SESSION) MINUTES:1  SEC:0");
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

// Other faults are reported once, then silent; a huge log is appended to, never read.
TEST_F(FaultReport, OtherFaultsAreReportedOnceThenSilentAtTheEndOfAHugeLog) {
    const long long size = text_file_limit + 100;
    ASSERT_EQ(truncate(folder.write("fault.log", "").c_str(), size), 0);
    report_fault(division(1, "Access violation"));
    EXPECT_EQ(std::tuple(faults_silent, log().find("MATRIX ENGINE ERROR AND WARNING LOG:\r\n")), std::tuple(true, size_t(size)));
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
        {0, "Could not open /some where\\\\DATA\\\\ini.txt", 0}, {8, " Could not open:/b\\\\base.txt", 0},
        {7, " Could not open topographic data", 0}, {1, "Could not create multithreading", 4},
        {6, " division by zero. please read logfile:", 0}};   // headless, the question is answered No
    for (const auto& e : ending)
        EXPECT_EXIT((raise_error(e.code), std::exit(4)), ::testing::ExitedWithCode(e.exit_code), e.message) << e.code;
    set_message_box_answer(answer_yes);
    cfg_multicore = 1;
    raise_error(16);
    EXPECT_EQ(cfg_multicore, 0);
    EXPECT_EXIT((set_message_box_answer(answer_no), raise_error(16), std::exit(9)), ::testing::ExitedWithCode(0),
                "do you want to try serial computing");
}
