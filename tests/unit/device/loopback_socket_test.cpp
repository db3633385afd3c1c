// The POSIX sockets of the native tree.
#include "support/loopback_socket_tests.h"
