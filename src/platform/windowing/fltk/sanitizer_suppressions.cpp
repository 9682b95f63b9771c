// Leak-checker suppressions for the libraries behind the display. Fontconfig
// and Xft keep their font caches and patterns for the life of the process and
// FLTK never releases its fonts, so a sanitized build would report them as
// leaks at exit. Only these libraries' own allocations are suppressed; leaks
// in our code are still reported. Without the leak checker nothing calls this.
extern "C" const char* __lsan_default_suppressions();

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libXft.so\n"
           "leak:libX11.so\n";
}

// The list of suppressions used is noise in a run's error output.
extern "C" const char* __lsan_default_options();

extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}
