// The simulator and loopback helpers of the communication tests, shared with these tests.
#include "comm/comm_test_support.cpp"
