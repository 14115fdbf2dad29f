library Shapes requires Base
    interface Shape
        method area takes nothing returns real
    endinterface
    module Counted
        static integer count = 0
        private integer secret
        method bump takes nothing returns thistype
            set .secret = .secret + 1
            return this
        endmethod
    endmodule
    struct Point extends Shape
        implement Counted
        real x
        delegate Base_Node node
        Point array ring[4]
        static method operator [] takes integer i returns thistype
            return i
        endmethod
        method operator size takes nothing returns real
            return .x
        endmethod
        method area takes nothing returns real
            return this.bump().ring[1].x + thistype[2].size
        endmethod
    endstruct
endlibrary
function Test takes nothing returns nothing
    local Point p = Point.create()
    call p.bump().bump().ring[Point(0).count].area()
    set p.x = Point[1].node.value + super.x
endfunction
