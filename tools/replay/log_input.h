// The input of `talvorix-replay --log`: what one session of a communication
// log received.
#pragma once

#include <string>

// The data bytes of session `session` (counted from 1 in file order; 0 is the
// last) of the log at `path`. False, with `error` as the message for the
// user, when the file cannot be read, is not a talvorix log or has no such
// session.
bool ReadLogSession(const std::string& path, int session, std::string& bytes, std::string& error);
