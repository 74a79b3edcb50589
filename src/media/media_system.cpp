// Clock, threads, message boxes and the fault hook.
#include <signal.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <system_error>

#include "media/media_internal.h"

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

namespace media {

namespace {

std::atomic<bool> virtual_clock{false};
std::atomic<uint32_t> virtual_ms{0};
std::atomic<std::thread::id> clock_owner{};

fault_hook current_hook = nullptr;

void fault_handler(int signal_number, siginfo_t* info, void*) {
    const char* description = "Unknown fault";
    switch (signal_number) {
    case SIGFPE:
        description = info->si_code == FPE_INTDIV ? "Attempted division by zero"
                                                   : "Floating point error";
        break;
    case SIGSEGV: description = "Access violation"; break;
    case SIGBUS: description = "Bus error"; break;
    case SIGILL: description = "Illegal instruction"; break;
    default: break;
    }
    if (current_hook)
        current_hook(description, signal_number, reinterpret_cast<uintptr_t>(info->si_addr));
    // The hook came back instead of jumping away: die of the same signal, so
    // the exit status still says what happened.
    signal(signal_number, SIG_DFL);
    raise(signal_number);
}

void append_two_digits(std::string& out, int value) {
    out += static_cast<char>('0' + value / 10 % 10);
    out += static_cast<char>('0' + value % 10);
}

}  // namespace

}  // namespace media

using namespace media;

void set_virtual_clock(bool on) {
    if (on) clock_owner = std::this_thread::get_id();
    virtual_clock = on;
}

bool virtual_clock_on() { return virtual_clock; }

uint32_t milliseconds() {
    if (virtual_clock) return virtual_ms;
    return SDL_GetTicks();
}

void sleep_ms(int ms) {
    if (ms <= 0) return;
    // Only the thread that runs the game sleeps on the virtual clock: the
    // background threads sleep in loops and would otherwise spin and push
    // the game's time forward.
    if (virtual_clock && std::this_thread::get_id() == clock_owner.load()) {
        virtual_ms += static_cast<uint32_t>(ms);
        return;
    }
#ifdef __EMSCRIPTEN__
    // A page that waits in place freezes the browser's tab: give it its turn.
    emscripten_sleep(static_cast<unsigned>(ms));
#else
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
#endif
}

int64_t local_time_now() { return static_cast<int64_t>(std::time(nullptr)); }

std::string format_date(int64_t seconds, const std::string& mask) {
    std::time_t time = static_cast<std::time_t>(seconds);
    std::tm parts{};
    if (!localtime_r(&time, &parts)) return "";
    std::string out;
    size_t i = 0;
    while (i < mask.size()) {
        if (mask.compare(i, 5, "%yyyy") == 0) {
            out += std::to_string(parts.tm_year + 1900);
            i += 5;
            continue;
        }
        const struct {
            const char* token;
            int value;
        } fields[] = {{"%mm", parts.tm_mon + 1}, {"%dd", parts.tm_mday}, {"%hh", parts.tm_hour},
                      {"%ii", parts.tm_min},     {"%ss", parts.tm_sec}};
        bool matched = false;
        for (const auto& field : fields) {
            if (mask.compare(i, 3, field.token) == 0) {
                append_two_digits(out, field.value);
                i += 3;
                matched = true;
                break;
            }
        }
        if (!matched) out += mask[i++];
    }
    return out;
}

bool threads_available() {
#ifdef __EMSCRIPTEN__
    // A page gets threads only from a server that isolates it (COOP/COEP
    // headers); the game does without, as in a replay.
    return false;
#else
    return true;
#endif
}

int start_thread(void (*procedure)(int), int argument) {
    if (!procedure) return 0;
    try {
        std::thread thread(procedure, argument);
        std::thread::id id = thread.get_id();
        thread.detach();   // the game never joins its threads; they run until exit
        return state().threads.add({id});
    } catch (const std::system_error&) {
        return 0;
    }
}

int message_box(const std::string& title, const std::string& text, bool yes_no) {
    const int unanswered = yes_no ? answer_no : answer_ok;
    if (!headless()) {
        std::string title_utf8 = latin1_to_utf8(title), text_utf8 = latin1_to_utf8(text);
        const SDL_MessageBoxButtonData ok[] = {
            {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT,
             answer_ok, "OK"}};
        const SDL_MessageBoxButtonData yes_and_no[] = {
            {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, answer_yes, "Yes"},
            {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, answer_no, "No"}};
        SDL_MessageBoxData box{};
        box.flags = SDL_MESSAGEBOX_INFORMATION;
        box.window = state().window;
        box.title = title_utf8.c_str();
        box.message = text_utf8.c_str();
        box.numbuttons = yes_no ? 2 : 1;
        box.buttons = yes_no ? yes_and_no : ok;
        int pressed = -1;
        if (SDL_ShowMessageBox(&box, &pressed) == 0) return pressed < 0 ? unanswered : pressed;
        // No box could be shown: fall through to the console.
    }
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    if (!yes_no) return answer_ok;
    int answer = state().message_answer;
    if (answer == answer_yes || answer == answer_no) return answer;
    if (const char* env = std::getenv("ZORBEL_MESSAGE_ANSWER")) {
        if (std::strcmp(env, "yes") == 0) return answer_yes;
        if (std::strcmp(env, "no") == 0) return answer_no;
    }
    return unanswered;
}

std::string os_version() {
    // Only Windows versions matter to the fault report.
    return "";
}

std::string last_system_error() {
    int error = errno;
    return error == 0 ? "" : std::strerror(error);
}

void install_fault_hook(fault_hook hook) {
    current_hook = hook;
#ifdef __EMSCRIPTEN__
    // WebAssembly raises no signals: a fault stops the page, and the page says so.
    return;
#else
    // A stack overflow leaves no stack to report it on: the handler gets its own.
    static void* alternate_stack = nullptr;
    if (!alternate_stack) {
        size_t size = 64 * 1024;
        if (size < static_cast<size_t>(SIGSTKSZ)) size = static_cast<size_t>(SIGSTKSZ);
        alternate_stack = std::malloc(size);
        if (alternate_stack) {
            stack_t stack{};
            stack.ss_sp = alternate_stack;
            stack.ss_size = size;
            sigaltstack(&stack, nullptr);
        }
    }
    struct sigaction action{};
    action.sa_sigaction = fault_handler;
    sigemptyset(&action.sa_mask);
    // SA_NODEFER: the hook may siglongjmp back to the main loop, and the
    // signal must not stay blocked for the next fault.
    action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_NODEFER;
    for (int signal_number : {SIGFPE, SIGSEGV, SIGBUS, SIGILL}) sigaction(signal_number, &action, nullptr);
#endif
}
