// The input of `talvorix-replay --log`: what one session of a communication
// log received.
#pragma once

#include <string>
#include <vector>

// The data bytes of session `session` (counted from 1 in file order; 0 is the
// last) of the log at `path`, preceded by those of the earlier sessions of the
// same program run (the sessions after the last header line before it), in
// file order: the chosen session is the last of `sessions`. False, with
// `error` as the message for the user, when the file cannot be read, is not a
// talvorix log or has no such session.
bool ReadLogRun(const std::string& path, int session, std::vector<std::string>& sessions, std::string& error);
