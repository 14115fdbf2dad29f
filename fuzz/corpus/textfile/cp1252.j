// café €   Ÿ ÿ
call BJDebugMsg("©")
