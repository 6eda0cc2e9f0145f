// Linux entry point: the framework's start-up runs the application object.
#include "platform/framework.h"

int main(int argc, char** argv) {
    return AfxWinMain(argc, argv);
}
