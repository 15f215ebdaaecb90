#pragma once
#include "app/InstallFlowHost.h"

// The title and message of the question that follows a failed installation attempt.
struct FailureQuestionText {
    const wchar_t* title;
    const wchar_t* message;
};

FailureQuestionText FailureQuestionWords(InstallFailure failure);
