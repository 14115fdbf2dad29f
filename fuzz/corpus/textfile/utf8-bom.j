// café € 😀
call BJDebugMsg("中")
