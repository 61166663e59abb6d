// Linked into every test program: none of them may read the machine's serial
// devices, write the user's port bindings, or leave recovery copies in the
// user's state folder (the programs they start inherit this). Tests that want devices make a
// fake tree and point at it themselves.

#include <stdlib.h>

namespace {

struct TestPortsEnvironment {
    TestPortsEnvironment() {
#ifdef _WIN32
        // Windows' C library has no setenv; its configuration folder is APPDATA.
        ::_putenv_s("QUOLIX_DEVICE_ROOT", QUOLIX_TEST_DEVICE_ROOT);
        ::_putenv_s("APPDATA", QUOLIX_TEST_CONFIG_HOME);
#else
        ::setenv("QUOLIX_DEVICE_ROOT", QUOLIX_TEST_DEVICE_ROOT, 1);
        ::setenv("XDG_CONFIG_HOME", QUOLIX_TEST_CONFIG_HOME, 1);
        ::setenv("XDG_STATE_HOME", QUOLIX_TEST_STATE_HOME, 1);
#endif
    }
};

const TestPortsEnvironment environment;

}  // namespace
