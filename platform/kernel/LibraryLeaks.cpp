// Libraries the platform uses keep some allocations for the life of the
// process: SDL and D-Bus, and fontconfig with some systems' configurations.
// They are theirs, not leaks of the device. The sanitizer builds pull this in
// whether or not anything calls it.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libdbus-1.so\n"
         "leak:libSDL2-2.0.so\n"
         "leak:libfontconfig.so\n";
}
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }
