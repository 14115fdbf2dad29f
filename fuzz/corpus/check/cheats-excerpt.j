//===========================================================================
// Cheats.j
//===========================================================================


globals
    // Debug-cheat globals
    constant real     bj_DEBUG_CAMFIELD_SPEED     = 0
    constant string   bj_DEBUG_CHAT_GIMME         = "gimme"
    constant string   bj_DEBUG_CHAT_DEMO          = "demo"
    constant string   bj_DEBUG_CHAT_TELEPORT      = "teleport"
    constant string   bj_DEBUG_CHAT_TELEPORT2     = "ttt"
    constant string   bj_DEBUG_CHAT_UNITINFO      = "unitinfo"
    constant string   bj_DEBUG_CHAT_UNITINFO2     = "ui"
    constant string   bj_DEBUG_CHAT_CAMINFO       = "caminfo"
    constant string   bj_DEBUG_CHAT_CAMINFO2      = "ci"
    constant string   bj_DEBUG_CHAT_CAMDIST       = "camdist"
    constant string   bj_DEBUG_CHAT_CAMFARZ       = "camfarz"
    constant string   bj_DEBUG_CHAT_CAMAOA        = "camaoa"
    constant string   bj_DEBUG_CHAT_CAMFOV        = "camfov"
    constant string   bj_DEBUG_CHAT_CAMROLL       = "camroll"
    constant string   bj_DEBUG_CHAT_CAMROT        = "camrot"
    constant string   bj_DEBUG_CHAT_CAMRESET      = "camreset"
    constant string   bj_DEBUG_CHAT_CLONE         = "clone"
    constant string   bj_DEBUG_CHAT_DISPEL        = "dispel"
    constant string   bj_DEBUG_CHAT_GOTOX         = "gotox"
    constant string   bj_DEBUG_CHAT_GOTOY         = "gotoy"
    constant string   bj_DEBUG_CHAT_GOTOXY        = "gotoxy"
    constant string   bj_DEBUG_CHAT_GOTOUNIT      = "gotounit"
    constant string   bj_DEBUG_CHAT_BLACKMASK     = "blackmask"
    constant string   bj_DEBUG_CHAT_BLACKMASK2    = "bm"
    constant string   bj_DEBUG_CHAT_DIFFICULTY    = "difficulty"
    constant string   bj_DEBUG_CHAT_FINGEROFDEATH = "fingerofdeath"

    trigger           bj_debugGimmeTrig
    trigger           bj_debugDemoTrig
    trigger           bj_debugTeleportTrig
    trigger           bj_debugUnitInfoTrig
    trigger           bj_debugCamInfoTrig
    trigger           bj_debugCamDistTrig
    trigger           bj_debugCamFarzTrig
    trigger           bj_debugCamAoaTrig
    trigger           bj_debugCamFovTrig
    trigger           bj_debugCamRollTrig
    trigger           bj_debugCamRotTrig
    trigger           bj_debugCamResetTrig
    trigger           bj_debugCloneTrig
    trigger           bj_debugDispelTrig
    trigger           bj_debugGotoXTrig
    trigger           bj_debugGotoYTrig
    trigger           bj_debugGotoXYTrig
    trigger           bj_debugGotoUnitTrig
    trigger           bj_debug_BlackMaskTrig
    trigger           bj_debugDifficultyTrig
    trigger  array    bj_debugFingerOfDeathTrig
    trigger  array    bj_debugToolOfDeathTrig
    boolean  array    bj_debugFingerOfDeathEnabled
    real              bj_debugGotoUnitX = 0
    real              bj_debugGotoUnitY = 0
    integer           bj_debugGotoUnits = 0
endglobals



//***************************************************************************
//*
//*  Debug cheats
//*
//***************************************************************************

//===========================================================================
function DebugGimmeEnum takes nothing returns nothing
    local player thePlayer = GetEnumPlayer()
    call DisplayTextToPlayer(thePlayer, 0, 0, "Player "+I2S(GetPlayerId(GetTriggerPlayer())+1)+" cheated: Give 5000 gold and 5000 lumber to all players")
    call SetPlayerState(thePlayer, PLAYER_STATE_RESOURCE_GOLD, GetPlayerState(thePlayer, PLAYER_STATE_RESOURCE_GOLD) + 5000)
    call SetPlayerState(thePlayer, PLAYER_STATE_RESOURCE_LUMBER, GetPlayerState(thePlayer, PLAYER_STATE_RESOURCE_LUMBER) + 5000)
endfunction

//===========================================================================
function DebugGimme takes nothing returns nothing
    call ForForce(bj_FORCE_ALL_PLAYERS, function DebugGimmeEnum)
endfunction

//===========================================================================
function DebugDemoEnum takes nothing returns nothing
    local player thePlayer = GetEnumPlayer()
    call SetPlayerState(thePlayer, PLAYER_STATE_RESOURCE_GOLD, 0)
    call SetPlayerState(thePlayer, PLAYER_STATE_RESOURCE_LUMBER, 0)
endfunction

//===========================================================================
function DebugDemo takes nothing returns nothing
    local player thePlayer = GetTriggerPlayer()
    local integer gold = GetRandomInt(750, 1500)
    local integer lumber = GetRandomInt(200, 450)

    call ForForce(bj_FORCE_ALL_PLAYERS, function DebugDemoEnum)
    call MultiboardSuppressDisplay(true)
    if (GetLocalPlayer() == GetTriggerPlayer()) then
        call Cheat("warnings")
        call Cheat("fastbuild")
        call Cheat("techtree")
        call Cheat("research")
        call Cheat("food")
        call Cheat("mana")
        call Cheat("dawn")
        call Cheat("gold " + I2S(gold))
        call Cheat("lumber " + I2S(lumber))
    endif
endfunction

//===========================================================================
function DebugTeleportEnum takes nothing returns nothing
    local unit u = GetEnumUnit()
    call SetUnitPosition(u, GetCameraTargetPositionX(), GetCameraTargetPositionY())
endfunction

//===========================================================================
function DebugTeleport takes nothing returns nothing
    local group g = CreateGroup()
    call SyncSelections()
    call GroupEnumUnitsSelected(g, GetTriggerPlayer(), null)
    call ForGroup(g, function DebugTeleportEnum)
endfunction

//===========================================================================
function TertiaryStringOp takes boolean expr, string a, string b returns string
    if (expr) then
        return a
    else
        return b
    endif
endfunction

//===========================================================================
// Convert a integer id value into a 4-letter id code.
//
function DebugIdInteger2IdString takes integer value returns string
    local string charMap = ".................................!.#$%&'()*+,-./0123456789:;<=>.@ABCDEFGHIJKLMNOPQRSTUVWXYZ[.]^_`abcdefghijklmnopqrstuvwxyz{|}~................................................................................................................................."
    local string result = ""
    local integer remainingValue = value
    local integer charValue
    local integer byteno

    set byteno = 0
    loop
        set charValue = ModuloInteger(remainingValue, 256)
        set remainingValue = remainingValue / 256
        set result = SubString(charMap, charValue, charValue + 1) + result

        set byteno = byteno + 1
        exitwhen byteno == 4
    endloop
    return result
endfunction

//===========================================================================
function DebugUnitInfoEnum takes nothing returns nothing
    local player thePlayer = GetTriggerPlayer()
    local unit   theUnit   = GetEnumUnit()
    local string message

    set message = "Player " + I2S(GetPlayerId(GetOwningPlayer(theUnit))+1)
    set message = message + " '" + DebugIdInteger2IdString(GetUnitTypeId(theUnit)) + "'"
    set message = message + " " + GetUnitName(theUnit)
    set message = message + " (" + R2SW(GetUnitX(theUnit), 0, 0) + ", " + R2SW(GetUnitY(theUnit), 0, 0)
    set message = message + ": " + R2SW(GetUnitFacing(theUnit), 0, 0) + ") "
    set message = message + TertiaryStringOp(IsUnitType(theUnit, UNIT_TYPE_HERO),            " Hero",      "")
    set message = message + TertiaryStringOp(IsUnitType(theUnit, UNIT_TYPE_DEAD),            " Dead",      "")
    set message = message + TertiaryStringOp(IsUnitType(theUnit, UNIT_TYPE_STRUCTURE),       " Structure", "")
    set message = message + TertiaryStringOp(IsUnitType(theUnit, UNIT_TYPE_GROUND),          " Grnd",      "")
    set m