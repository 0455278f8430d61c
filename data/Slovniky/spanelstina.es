[Zvíøata]
0=0\perro\pes
1=0\gato\koèka (kocour)
2=0\caballo\kùò
3=1\vaca\kráva
4=0\pájaro\pták
5=0\ratón\myš
6=0\león\lev
7=1\araña\pavouk
8=2\animales\zvíøata
9=4\gallinas\slepice (mn. è.)

[Rodina]
0=1\niña\holèièka
1=0\niño\chlapeèek
2=2\padres\rodièe
3=4\gafas\brýle
4=4\vacaciones\prázdniny
5=2\pantalones\kalhoty
6=1\habitación\pokoj
7=0\baño\koupelna
8=1\cocina\kuchynì
9=0\jardín\zahrada
10=1\mañana\ráno

[Fráze]
0=3\¡hola!\ahoj
1=3\¿qué?\co
2=3\¿dónde?\kde
3=3\¡adiós!\sbohem,nashledanou
4=3\comer\jíst
5=3\beber\pít
6=3\dormir\spát
7=3\hablar\mluvit
8=3\ir\jít,jet
9=3\pequeño\malý
10=3\difícil\obtížný,tìžký
11=3\también\také,též

