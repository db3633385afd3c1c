// The Winsock sockets of the Win32 tree, which the utility uses under Wine.
#include "support/loopback_socket_tests.h"
