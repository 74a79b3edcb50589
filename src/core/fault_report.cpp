#include "core/fault_report.h"

#include <cmath>

#include "core/configuration.h"
#include "core/error_codes.h"
#include "core/machine.h"
#include "media/media.h"
#include "world/level_state.h"

const char* current_module = "Main Module";
int current_line = 0;
int fault_count = 0;
bool faults_silent = false;
sigjmp_buf frame_resume;
bool frame_resume_armed = false;

namespace {

const char* const division_by_zero = "Attempted division by zero";

std::string whole(float value) { return std::to_string(std::lround(value)); }

void on_fault(const char* description, int code, uintptr_t address) {
    bool division = std::string(description) == division_by_zero;
    if (!faults_silent) {
        fault_context context;
        context.description = description;
        context.code = code;
        context.address = address;
        context.module = current_module;
        context.line = current_line;
        context.last_error = last_system_error();
        context.fault_count = ++fault_count;
        report_fault(context);
    }
    // Execution cannot go on after the faulting instruction; a division by zero
    // the player chose to survive restarts the main loop at its next pass.
    // Anything else returns to the media layer, which lets the signal end us.
    if (division && frame_resume_armed) siglongjmp(frame_resume, 1);
}

void append_report(const std::vector<std::string>& lines) {
    // Appending moves to the end without reading a log of any size.
    int file = open_append(cfg_logpath + cfg_logfile);
    if (file == 0) return;
    for (const std::string& line : lines) write_line(file, line);
    close_file(file);
}

}  // namespace

void install_fault_handler() { install_fault_hook(on_fault); }

std::vector<std::string> fault_report_lines(const fault_context& context, uint32_t uptime_ms) {
    uint32_t total_seconds = uptime_ms / 1000;
    uint32_t minutes = total_seconds / 60;
    uint32_t seconds = total_seconds - 60 * minutes;
    int64_t now = local_time_now();
    desktop_info desktop = query_desktop();

    std::vector<std::string> lines;
    lines.push_back("MATRIX ENGINE ERROR AND WARNING LOG:");
    lines.push_back("DATESTAMP:" + format_date(now, "%dd/%mm/%yyyy") +
                    " TIMESTAMP:" + format_date(now, "%hh:%ii:%ss"));
    // The operating-system line names Windows releases only; other systems write none.
    lines.push_back("MAP_ID:" + std::to_string(dimension));
    lines.push_back("ERROR TYPE:" + context.description + "  ERR" + std::to_string(context.code));
    lines.push_back("MODULE:" + context.module);
    lines.push_back("AT LINE:" + std::to_string(context.line));
    lines.push_back("LIB:" + context.last_error);
    lines.push_back("ERROR ADDRESS: " + std::to_string(context.address));
    lines.push_back("ENGINE INTERNALS:");
    lines.push_back("ACTUAL POSX:0  ACTUAL POSY:0");
    lines.push_back("OFFSET X:" + whole(view_x) + "  OFFSET Y:" + whole(view_y));
    lines.push_back("max X:" + std::to_string(level_last_x) +
                    "   max Y:" + std::to_string(level_last_y));
    lines.push_back("SYSTEM DESKTOP:   WIDTH:" + std::to_string(desktop.width) +
                    "   HEIGHT:" + std::to_string(desktop.height));
    lines.push_back("ENGINE (SCREEN)WINDOW WIDTH:" + whole(screen_width) +
                    "   HEIGHT:" + whole(screen_height));
    lines.push_back("TOTAL ERRORS/WARNINGS FROM START:" + std::to_string(context.fault_count));
    lines.push_back("ENGINE UPTIME (SINGLE SESSION) MINUTES:" + std::to_string(minutes) +
                    "  SEC:" + std::to_string(seconds));
    lines.push_back(std::string(60, '*'));
    return lines;
}

void report_fault(const fault_context& context) {
    uint32_t uptime_ms = milliseconds() - start_time_ms;
    if (cfg_uselogfile == 0) {
        faults_silent = true;
        return;
    }
    append_report(fault_report_lines(context, uptime_ms));
    if (context.description == division_by_zero)
        raise_error(error_division_by_zero);
    else
        faults_silent = true;
}
