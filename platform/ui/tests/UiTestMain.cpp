// The shared widget layer's tests run under the main every window layer uses.
#include "platform/ui/testing/WindowTestMain.h"

int main(int argc, char** argv) { return ui::RunWindowTests(argc, argv); }
