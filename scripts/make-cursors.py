#!/usr/bin/env python3
"""Writes the program's cursors (resources/cursors/*.cur) from the pictures below.

Each picture is 16 rows of 16 characters: '#' black, '.' white, ' ' transparent;
'H' marks the hot spot (black). The cursors are 32 x 32 monochrome with the
picture in the top-left corner. Run by hand after changing a picture."""
import os
import struct

PICTURES = {
    # pan, held: a closed hand
    "pan_held.cur": """
                
                
                
    ## ## ##    
   #..#..#..##  
   #........#.# 
  ##.........H# 
 #.#..........# 
 #............# 
  #...........# 
  #..........#  
   #.........#  
    #.......#   
     #......#   
     #......#   
                """,
    # pan, ready: an open hand
    "pan_ready.cur": """
       ##       
   ## #..###    
  #..##..#..#   
  #..##..#..# # 
   #..#..#..##.#
   #..#..#..#..#
 ## #....H.#..# 
#..##.........# 
#...#........#  
 #...........#  
  #..........#  
  #.........#   
   #........#   
    #......#    
    #......#    
                """,
    # selection: a cross
    "select.cur": """
       #        
       #        
       #        
       #        
       #        
       #        
       .        
#######H####### 
       .        
       #        
       #        
       #        
       #        
       #        
       #        
                """,
    # selection, adding: a cross with a box
    "select_add.cur": """
       #        
       #        
       #        
       #        
       #        
       #        
       .        
#######H####### 
       .        
       #   #####
       #   #...#
       #   #...#
       #   #...#
       #   #####
       #        
                """,
}


def cursor_file(picture):
    rows = picture.strip("\n").split("\n")
    rows = [r.ljust(16)[:16] for r in rows]
    assert len(rows) == 16, len(rows)
    hot = (0, 0)
    size = 32
    xor = [[0] * size for _ in range(size)]
    andm = [[1] * size for _ in range(size)]
    for y, row in enumerate(rows):
        for x, c in enumerate(row):
            if c == "H":
                hot = (x, y)
            if c in "#H":
                andm[y][x], xor[y][x] = 0, 0
            elif c == ".":
                andm[y][x], xor[y][x] = 0, 1

    def packed(mask):  # bottom-up rows of 32 bits
        data = b""
        for row in reversed(mask):
            bits = 0
            for v in row:
                bits = (bits << 1) | v
            data += bits.to_bytes(4, "big")
        return data

    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    image = header + palette + packed(xor) + packed(andm)
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", size, size, 2, 0, hot[0], hot[1], len(image), 6 + 16)
    return directory + entry + image


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "cursors")
    os.makedirs(out, exist_ok=True)
    for name, picture in PICTURES.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(cursor_file(picture))


if __name__ == "__main__":
    main()
