#include "app/FailureQuestion.h"

FailureQuestionText FailureQuestionWords(InstallFailure failure)
{
    switch (failure) {
    case InstallFailure::Verification: return {L"安装包校验失败", L"请重新下载安装程序"};
    case InstallFailure::Start: return {L"安装程序启动失败", L"请稍后重试"};
    case InstallFailure::Incomplete: return {L"安装未完成", L"安装程序已退出"};
    case InstallFailure::StatusFile: return {L"安装环境异常", L"用户数据文件夹不可用或已被重定向"};
    case InstallFailure::NotInstalled: return {L"安装未完成", L"未找到已安装的程序"};
    case InstallFailure::Download: break;
    }
    return {L"下载失败！", L"请检查网络"};
}
