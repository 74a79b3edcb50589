// The fault report: run-time faults are appended to the log file.
#pragma once

#include <csetjmp>
#include <cstdint>
#include <string>
#include <vector>

struct fault_context {
    std::string description;   // e.g. "Attempted division by zero"
    int code = 0;
    uint64_t address = 0;
    std::string module;
    int line = 0;
    std::string last_error;
    int fault_count = 0;
};

// Where the program is: cheap enough to set at the entry of every main procedure.
extern const char* current_module;
extern int current_line;
#define MARK_SITE(module_name) (current_module = (module_name), current_line = __LINE__)

extern int fault_count;
extern bool faults_silent;
// Armed by the main loop: a division by zero answered Yes resumes at the next frame.
extern sigjmp_buf frame_resume;
extern bool frame_resume_armed;

void install_fault_handler();
std::vector<std::string> fault_report_lines(const fault_context& context, uint32_t uptime_ms);
void report_fault(const fault_context& context);
